#include <cstddef>
#include <cstdint>
#include <span>

#include "gif/base/gifexception.h"
#include "gif/gifimage.h"
#include "gif/import/bitmapimport.h"
#include "gif/import/imageoptimize.h"
#include "tools/gifconvert/bmpfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  rf::gif::ReductionSettings settings;
  settings.method = static_cast<rf::gif::TColorReduction>(data[0] % 11);         // 10 is unknown
  settings.dither_mode = static_cast<rf::gif::TDitherMode>((data[0] / 11) % 8);  // 7 is unknown
  settings.bits = 1 + data[1] % 8;
  settings.palette = {{0, 0, 0, 0}, {255, 128, 0, 0}, {30, 60, 90, 0}};
  const std::span<const std::uint8_t> file(data + 2, size - 2);
  try {
    rf::gif::TGIFImage image;
    image.MaxFramePixels = 1 << 16;
    image.MaxImagePixels = 1 << 18;
    if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') {
      const rf::gif::PixelBitmap bitmap = rf::gif::ReadBmp(file);
      if (static_cast<std::size_t>(bitmap.Width()) * bitmap.Height() > (1u << 18)) return 0;
      image.ColorReduction = settings.method;
      image.DitherMode = settings.dither_mode;
      image.ReductionBits = settings.bits;
      image.ReductionPalette = settings.palette;
      rf::gif::AssignBitmapToImage(image, bitmap, true);
    } else {
      image.LoadFromBytes(file);
      rf::gif::OptimizeColorMaps(image, settings);
    }
    if (!image.Empty()) {
      rf::gif::ByteVector out;
      image.SaveToStream(out);
    }
  } catch (const rf::gif::GIFException&) {
  }
  return 0;
}
