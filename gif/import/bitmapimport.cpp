#include "gif/import/bitmapimport.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/import/colormapoptimize.h"

namespace rf::gif {

namespace {

void Report(TGIFSubImage& frame, TProgressStage stage, int percent) {
  if (TGIFImage* image = frame.Image())
    image->Progress(stage, percent, false, {}, msg::kConverting);
}

// Colours of a 24-bit picture into the colour map: the 8 colours met last
// are tried first (newest back), then the map; a new colour is appended.
class ColorCollector {
 public:
  explicit ColorCollector(TGIFColorMap& map) : map_(map) {}

  std::uint8_t IndexOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const std::uint32_t key = red | (green << 8) | (blue << 16);
    for (int n = 0, i = newest_; n < filled_; ++n, i = (i + kRing - 1) % kRing)
      if (ring_[static_cast<std::size_t>(i)].key == key)
        return ring_[static_cast<std::size_t>(i)].index;
    int index = -1;
    for (int i = 0; i < map_.Count(); ++i) {
      const TGIFColor& c = map_[i];
      if (c.red == red && c.green == green && c.blue == blue) {
        index = i;
        break;
      }
    }
    if (index < 0) {
      if (map_.Count() >= TGIFColorMap::kMaxColors) throw GIFException(msg::kColorTableOverflow);
      index = map_.Add({red, green, blue});
    }
    newest_ = (newest_ + 1) % kRing;
    ring_[static_cast<std::size_t>(newest_)] = {key, static_cast<std::uint8_t>(index)};
    filled_ = std::min(filled_ + 1, kRing);
    return static_cast<std::uint8_t>(index);
  }

 private:
  static constexpr int kRing = 8;
  struct Slot {
    std::uint32_t key;
    std::uint8_t index;
  };
  TGIFColorMap& map_;
  std::array<Slot, kRing> ring_{};
  int newest_ = kRing - 1;
  int filled_ = 0;
};

void SetColorMap(TGIFColorMap& map, const Palette& palette) {
  const int count =
      static_cast<int>(std::min<std::size_t>(palette.size(), TGIFColorMap::kMaxColors));
  map.SetCount(count);
  for (int i = 0; i < count; ++i) {
    const PaletteEntry& e = palette[static_cast<std::size_t>(i)];
    map[i] = {e.red, e.green, e.blue};
  }
}

}  // namespace

ReductionSettings ReductionSettingsOf(const TGIFImage& image) {
  ReductionSettings s;
  s.method = image.ColorReduction;
  s.dither_mode = image.DitherMode;
  s.bits = image.ReductionBits;
  s.palette = image.ReductionPalette;
  return s;
}

void AssignBitmap(TGIFSubImage& frame, const PixelBitmap& bitmap) {
  if (TGIFImage* image = frame.Image())
    AssignBitmap(frame, bitmap, ReductionSettingsOf(*image));
  else
    AssignBitmap(frame, bitmap, ReductionSettings{});
}

void AssignBitmap(TGIFSubImage& frame, const PixelBitmap& bitmap,
                  const ReductionSettings& settings) {
  frame.Clear();
  if (bitmap.Empty()) return;
  if (bitmap.Width() > std::numeric_limits<std::uint16_t>::max() ||
      bitmap.Height() > std::numeric_limits<std::uint16_t>::max())
    throw GIFException(msg::kInvalidDimensions);
  frame.Descriptor().Width = static_cast<std::uint16_t>(bitmap.Width());
  frame.Descriptor().Height = static_cast<std::uint16_t>(bitmap.Height());

  PixelBitmap reduced;
  const PixelBitmap* source = &bitmap;
  if (!bitmap.HasPalette()) {
    reduced = ReduceColors(bitmap, settings);
    if (reduced.Empty()) {
      // An unknown method or dither mode makes nothing.
      frame.Clear();
      return;
    }
    source = &reduced;
  }

  const int width = source->Width();
  const int height = source->Height();
  std::span<std::uint8_t> pixels = frame.AllocatePixels();
  Report(frame, psStarting, 0);
  TGIFColorMap& map = frame.ColorMap();
  const int bits = source->HasPalette() ? source->BitsPerPixel() : 24;
  if (bits != 24) SetColorMap(map, source->GetPalette());
  ColorCollector collector(map);
  std::vector<std::uint8_t> row;
  for (int y = 0; y < height; ++y) {
    source->ReadRow(y, bits, row);
    std::uint8_t* out =
        pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    switch (bits) {
      case 8:
        std::memcpy(out, row.data(), static_cast<std::size_t>(width));
        break;
      case 4:
        for (int x = 0; x < width; ++x)
          out[x] = static_cast<std::uint8_t>(
              (row[static_cast<std::size_t>(x >> 1)] >> ((x & 1) ? 0 : 4)) & 15);
        break;
      case 1:
        for (int x = 0; x < width; ++x)
          out[x] = static_cast<std::uint8_t>(
              (row[static_cast<std::size_t>(x >> 3)] >> (7 - (x & 7))) & 1);
        break;
      default:
        for (int x = 0; x < width; ++x) {
          const std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * 3;
          out[x] = collector.IndexOf(p[2], p[1], p[0]);
        }
        break;
    }
    if (y % 32 == 0) Report(frame, psRunning, static_cast<int>(std::int64_t{y} * 100 / height));
  }
  map.Changed();
  Report(frame, psEnding, 100);
}

void ApplyTransparency(TGIFSubImage& frame, std::span<const std::uint8_t> mask) {
  std::span<std::uint8_t> pixels = frame.Pixels();
  const std::size_t n = std::min(mask.size(), pixels.size());
  if (std::none_of(mask.begin(), mask.begin() + static_cast<std::ptrdiff_t>(n),
                   [](std::uint8_t m) { return m != 0; }))
    return;
  TGIFColorMap& map = frame.ColorMap();
  // Transparent pixels must not keep their present colours in use; they
  // count for entry 0 until they get their own.
  for (std::size_t i = 0; i < n; ++i)
    if (mask[i]) pixels[i] = 0;
  OptimizeColorMap(frame);
  TGIFSubImage* frames[] = {&frame};
  const int transparent = ReserveTransparentEntry(map, frames);
  for (std::size_t i = 0; i < n; ++i)
    if (mask[i]) pixels[i] = static_cast<std::uint8_t>(transparent);
  SetTransparentIndex(frame, static_cast<std::uint8_t>(transparent));
  map.Changed();
}

void AssignFrame(TGIFSubImage& frame, const TGIFSubImage& source) {
  if (&frame == &source) return;
  frame.Clear();
  frame.Descriptor() = source.Descriptor();
  ByteVector bytes;
  for (const auto& extension : source.Extensions()) extension->SaveToStream(bytes);
  GIFInputStream in(bytes);
  frame.Extensions().LoadFromStream(in);
  const TGIFColorMap& from = source.ColorMap();
  TGIFColorMap& to = frame.ColorMap();
  to.SetCount(from.Count());
  for (int i = 0; i < from.Count(); ++i) to[i] = from[i];
  to.SetOptimized(from.Optimized());
  if (!source.Empty()) {
    std::span<std::uint8_t> pixels = frame.AllocatePixels();
    std::copy(source.Pixels().begin(), source.Pixels().end(), pixels.begin());
  }
  frame.SetTransparent(source.Transparent());
  to.Changed();
}

void AssignBitmapToImage(TGIFImage& image, const PixelBitmap& bitmap, bool alpha_transparency) {
  image.Clear();
  if (bitmap.Empty()) return;
  auto frame = std::make_unique<TGIFSubImage>(&image);
  AssignBitmap(*frame, bitmap);
  if (frame->Empty()) return;
  if (alpha_transparency && bitmap.BitsPerPixel() == 32) {
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y) {
      const std::uint8_t* row = bitmap.ScanLine(y);
      for (int x = 0; x < bitmap.Width(); ++x)
        mask[static_cast<std::size_t>(y) * bitmap.Width() + x] = row[x * 4 + 3] < 128;
    }
    ApplyTransparency(*frame, mask);
  }
  image.Header().Descriptor().Width = frame->Descriptor().Width;
  image.Header().Descriptor().Height = frame->Descriptor().Height;
  image.Images().Add(std::move(frame));
}

}  // namespace rf::gif
