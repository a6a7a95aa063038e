#include "tools/gifconvert/gifconvert.h"

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/import/bitmapimport.h"
#include "tools/gifconvert/bmpfile.h"

namespace rf::gif {

namespace {

void ApplyOptions(TGIFImage& image, const ConvertOptions& options) {
  image.ColorReduction = options.method;
  image.DitherMode = options.dither_mode;
  image.ReductionBits = options.bits;
  image.ReductionPalette = options.palette;
  image.Compression = options.run_length ? gcRLE : gcLZW;
}

// A frame's pixels as a 24-bit bitmap through its active colour map, and
// the mask of its transparent pixels.
PixelBitmap FrameColors(const TGIFSubImage& frame, std::vector<std::uint8_t>& mask) {
  const TGIFColorMap& map = frame.ActiveColorMap();
  PixelBitmap out(frame.Width(), frame.Height(), 24);
  const bool transparent = frame.Transparent() && frame.GraphicControlExtension() != nullptr;
  const std::uint8_t transparent_index = frame.TransparentIndex();
  mask.assign(static_cast<std::size_t>(frame.Width()) * frame.Height(), 0);
  std::span<const std::uint8_t> pixels = frame.Pixels();
  for (int y = 0; y < frame.Height(); ++y) {
    std::uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < frame.Width(); ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * frame.Width() + x;
      const std::uint8_t index = pixels[i];
      if (index < map.Count()) {
        row[x * 3] = map[index].blue;
        row[x * 3 + 1] = map[index].green;
        row[x * 3 + 2] = map[index].red;
      }
      mask[i] = transparent && index == transparent_index;
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> ConvertPicture(std::span<const std::uint8_t> file,
                                         const ConvertOptions& options) {
  TGIFImage result;
  ApplyOptions(result, options);
  if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') {
    AssignBitmapToImage(result, ReadBmp(file), options.alpha_transparency);
  } else {
    TGIFImage source;
    source.LoadFromBytes(file);
    result.Header().Descriptor().Width = source.Header().Descriptor().Width;
    result.Header().Descriptor().Height = source.Header().Descriptor().Height;
    result.Header().Descriptor().AspectRatio = source.Header().Descriptor().AspectRatio;
    for (const auto& from : source.Images()) {
      auto frame = std::make_unique<TGIFSubImage>(&result);
      std::vector<std::uint8_t> mask;
      if (!from->Empty()) AssignBitmap(*frame, FrameColors(*from, mask));
      frame->Descriptor().Left = from->Descriptor().Left;
      frame->Descriptor().Top = from->Descriptor().Top;
      // The extensions come over as written and read back.
      ByteVector bytes;
      for (const auto& extension : from->Extensions()) extension->SaveToStream(bytes);
      GIFInputStream in(bytes);
      frame->Extensions().LoadFromStream(in);
      if (TGIFGraphicControlExtension* gce = frame->GraphicControlExtension()) {
        gce->SetTransparent(false);
        frame->SetTransparent(false);
      }
      if (!from->Empty()) ApplyTransparency(*frame, mask);
      result.Images().Add(std::move(frame));
    }
  }
  if (result.Empty()) throw GIFException(msg::kInvalidDimensions);
  ByteVector out;
  result.SaveToStream(out);
  return out;
}

}  // namespace rf::gif
