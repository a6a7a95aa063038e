#include "gif/render/framerender.h"

#include <algorithm>
#include <cstring>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/reduce/colorlookup.h"
#include "gif/reduce/ditherer.h"

namespace rf::gif {

namespace {

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Reports stage 2 on every way out of RenderFrame.
class RenderProgress {
 public:
  RenderProgress(TGIFImage* image, bool palette_modified)
      : image_(image), palette_modified_(palette_modified) {
    Report(psStarting, 0, false);
  }
  RenderProgress(const RenderProgress&) = delete;
  RenderProgress& operator=(const RenderProgress&) = delete;
  ~RenderProgress() {
    try {
      Report(psEnding, done_ ? 100 : 0, palette_modified_);
    } catch (...) {
      // A failing progress handler must not replace the error being raised.
    }
  }
  void Row(int y, int height) {
    if (y % 32 == 0) Report(psRunning, static_cast<int>(std::int64_t{y} * 100 / height), false);
  }
  void Done() { done_ = true; }

 private:
  void Report(TProgressStage stage, int percent, bool redraw) {
    if (image_ != nullptr) image_->Progress(stage, percent, redraw, TGIFRect{}, msg::kRendering);
  }
  TGIFImage* image_;
  bool palette_modified_;
  bool done_ = false;
};

}  // namespace

std::vector<std::uint8_t> MakeBmp8(int width, int height, std::span<const PaletteEntry> palette) {
  if (width <= 0 || height <= 0) throw GIFException(msg::kInvalidDimensions);
  const std::size_t stride = DibStride(width);
  const std::size_t bits = stride * static_cast<std::size_t>(height);
  // The BMP's size fields are 32 bits wide.
  if (bits > 0xFFFFFFFFu - kBmpBitsOffset) throw TDIBAllocationError();
  std::vector<std::uint8_t> bmp;
  try {
    bmp.assign(kBmpBitsOffset + bits, 0);
  } catch (const std::bad_alloc&) {
    throw TDIBAllocationError();
  }
  std::uint8_t* p = bmp.data();
  // File header: "BM", file size, two reserved words, offset to the bits.
  p[0] = 'B';
  p[1] = 'M';
  Put32(p + 2, static_cast<std::uint32_t>(bmp.size()));
  Put32(p + 10, static_cast<std::uint32_t>(kBmpBitsOffset));
  // Info header; a positive height makes the rows bottom-up.
  std::uint8_t* info = p + kBmpFileHeaderSize;
  Put32(info + 0, kBmpInfoHeaderSize);
  Put32(info + 4, static_cast<std::uint32_t>(width));
  Put32(info + 8, static_cast<std::uint32_t>(height));
  Put16(info + 12, 1);  // planes
  Put16(info + 14, 8);  // bits per pixel
  Put32(info + 16, 0);  // uncompressed
  Put32(info + 20, static_cast<std::uint32_t>(bits));
  Put32(info + 32, 256);  // colours used
  Put32(info + 36, static_cast<std::uint32_t>(std::min<std::size_t>(palette.size(), 256)));
  std::uint8_t* table = info + kBmpInfoHeaderSize;
  for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
    table[4 * i + 0] = palette[i].blue;
    table[4 * i + 1] = palette[i].green;
    table[4 * i + 2] = palette[i].red;
  }
  return bmp;
}

std::uint8_t* BmpRow(std::vector<std::uint8_t>& bmp, int width, int height, int y) {
  return bmp.data() + kBmpBitsOffset + DibStride(width) * static_cast<std::size_t>(height - 1 - y);
}

bool BuildMaskRows(const std::uint8_t* pixels, int width, int height, std::uint8_t transparent,
                   std::vector<std::uint8_t>& mask) {
  const std::size_t stride = MaskStride(width);
  mask.assign(stride * static_cast<std::size_t>(std::max(height, 0)), 0);
  bool any = false;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src =
        pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    std::uint8_t* dst = mask.data() + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width; ++x) {
      if (src[x] == transparent) {
        dst[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        any = true;
      }
    }
  }
  return any;
}

void DitherToCube(const std::uint8_t* pixels, int width, int height,
                  std::span<const TGIFColor> colors, int transparent,
                  const std::function<std::uint8_t*(int y)>& row) {
  TNetscapeColorLookup cube;
  TFloydSteinbergDitherer ditherer(width, cube);
  TGIFColor table[256] = {};
  std::copy_n(colors.begin(), std::min<std::size_t>(colors.size(), 256), table);
  const std::uint8_t transparent_cube =
      transparent >= 0
          ? CubeIndex(table[transparent].red, table[transparent].green, table[transparent].blue)
          : 0;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src =
        pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    std::uint8_t* dst = row(y);
    const int step = ditherer.Direction();
    for (int i = 0, x = ditherer.StartColumn(); i < width; ++i, x += step) {
      const TGIFColor& c = table[src[x]];
      const std::uint8_t index = ditherer.Dither(c.red, c.green, c.blue);
      dst[x] = transparent >= 0 && src[x] == transparent ? transparent_cube : index;
    }
    ditherer.NextLine();
  }
}

Palette ColorMapPalette(const TGIFColorMap& map) {
  Palette p;
  p.reserve(static_cast<std::size_t>(map.Count()));
  for (const TGIFColor& c : map.Colors()) p.push_back({c.red, c.green, c.blue, pcNoCollapse});
  return p;
}

Palette CubePalette() {
  Palette p = WebCubePalette();
  for (PaletteEntry& e : p) e.flags = pcNoCollapse;
  return p;
}

Palette MakePicturePalette(const TGIFImage& image, bool dither) {
  if (dither) return CubePalette();
  if (!image.GlobalColorMap().Empty()) return ColorMapPalette(image.GlobalColorMap());
  if (image.Images().Empty()) return {};
  // The first frame's palette; without a local map it would come back here.
  const TGIFSubImage& first = image.Images()[0];
  if (first.ColorMap().Empty()) throw GIFException(msg::kNoColorTable);
  return ColorMapPalette(first.ColorMap());
}

Palette MakeFramePalette(const TGIFSubImage& frame, bool dither, const Palette* picture) {
  if (dither) return CubePalette();
  if (!frame.ColorMap().Empty()) return ColorMapPalette(frame.ColorMap());
  if (picture != nullptr) return *picture;
  return MakePicturePalette(*frame.Image(), false);
}

TFrameRendering RenderFrame(const TGIFSubImage& frame, std::span<const PaletteEntry> palette,
                            bool dither, bool want_mask, bool palette_modified) {
  RenderProgress progress(frame.Image(), palette_modified);
  TFrameRendering result;
  const int width = frame.Width();
  const int height = frame.Height();
  if (width <= 0 || height <= 0) {
    progress.Done();
    return result;
  }
  result.bmp = MakeBmp8(width, height, palette);
  if (frame.Empty()) {
    progress.Done();
    return result;
  }
  const std::uint8_t* pixels = frame.Pixels().data();
  const int transparent = frame.Transparent() ? frame.TransparentIndex() : -1;
  const bool masked = want_mask && transparent >= 0;
  if (dither) {
    DitherToCube(pixels, width, height, frame.ActiveColorMap().Colors(), transparent, [&](int y) {
      progress.Row(y, height);
      return BmpRow(result.bmp, width, height, y);
    });
  } else {
    for (int y = 0; y < height; ++y) {
      progress.Row(y, height);
      std::memcpy(BmpRow(result.bmp, width, height, y),
                  pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                  static_cast<std::size_t>(width));
    }
  }
  if (masked) {
    result.mask_tried = true;
    if (!BuildMaskRows(pixels, width, height, static_cast<std::uint8_t>(transparent),
                       result.mask)) {
      result.mask.clear();
    }
  }
  progress.Done();
  return result;
}

}  // namespace rf::gif
