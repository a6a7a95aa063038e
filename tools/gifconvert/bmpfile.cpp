#include "tools/gifconvert/bmpfile.h"

#include <bit>
#include <cstring>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t U16(const std::uint8_t* p) {
  return p[0] | (p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

[[noreturn]] void Invalid() {
  throw GIFException(msg::kBitmapNotValid);
}

// One channel of a bit field mask scaled to 8 bits.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask >> shift);
  std::uint32_t v = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<std::uint8_t>(v >> (width - 8));
  // Repeat the bits so that the largest value becomes 255.
  std::uint32_t out = 0;
  for (int filled = 0; filled < 8; filled += width) out = (out << width) | v;
  return static_cast<std::uint8_t>(out >> (((8 + width - 1) / width) * width - 8));
}

}  // namespace

PixelBitmap ReadBmp(std::span<const std::uint8_t> file) {
  if (file.size() < 14 + 12 || file[0] != 'B' || file[1] != 'M') Invalid();
  const std::uint8_t* p = file.data();
  const std::uint32_t bits_offset = U32(p + 10);
  const std::uint32_t info_size = U32(p + 14);
  if (info_size < 12 || 14 + static_cast<std::uint64_t>(info_size) > file.size()) Invalid();
  std::int64_t width, height;
  int depth;
  std::uint32_t compression = kRgb, colors_used = 0;
  int palette_entry_size = 4;
  if (info_size == 12) {
    width = U16(p + 18);
    height = static_cast<std::int16_t>(U16(p + 20));
    depth = static_cast<int>(U16(p + 24));
    palette_entry_size = 3;
  } else {
    if (info_size < 40) Invalid();
    width = static_cast<std::int32_t>(U32(p + 18));
    height = static_cast<std::int32_t>(U32(p + 22));
    depth = static_cast<int>(U16(p + 28));
    compression = U32(p + 30);
    colors_used = U32(p + 46);
  }
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (!PixelBitmap::IsSupportedDepth(depth)) throw GIFException(msg::kUnsupportedBitmapFormat);
  if (compression != kRgb && !(compression == kBitFields && (depth == 16 || depth == 32)))
    throw GIFException(msg::kUnsupportedBitmapFormat);
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) Invalid();

  // Bit field masks follow a 40-byte header, or are part of a longer one.
  std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
  if (depth == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  if (compression == kBitFields) {
    const std::size_t at = 14 + 40;
    if (at + 12 > file.size()) Invalid();
    for (int i = 0; i < 3; ++i) masks[i] = U32(p + at + 4 * i);
  }

  Palette palette;
  if (depth <= 8) {
    std::size_t count = colors_used != 0 ? colors_used : (std::size_t{1} << depth);
    if (count > 256) Invalid();
    std::size_t at = 14 + info_size + (compression == kBitFields && info_size == 40 ? 12 : 0);
    if (at + count * palette_entry_size > file.size()) Invalid();
    for (std::size_t i = 0; i < count; ++i, at += static_cast<std::size_t>(palette_entry_size))
      palette.push_back({p[at + 2], p[at + 1], p[at], 0});
  }

  const bool standard = compression == kRgb || (depth == 32 && masks[0] == 0xFF0000 &&
                                                masks[1] == 0xFF00 && masks[2] == 0xFF);
  const int out_depth = standard ? depth : 24;
  PixelBitmap out(static_cast<int>(width), static_cast<int>(height), out_depth, std::move(palette));
  const std::size_t stride = ((static_cast<std::size_t>(width) * depth + 31) / 32) * 4;
  if (bits_offset > file.size() ||
      stride * static_cast<std::size_t>(height) > file.size() - bits_offset)
    Invalid();
  for (int y = 0; y < height; ++y) {
    const int stored = top_down ? y : static_cast<int>(height) - 1 - y;
    const std::uint8_t* src = p + bits_offset + static_cast<std::size_t>(stored) * stride;
    std::uint8_t* dst = out.ScanLine(y);
    if (standard) {
      std::memcpy(dst, src, std::min<std::size_t>(stride, static_cast<std::size_t>(out.Stride())));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = depth == 16 ? U16(src + x * 2) : U32(src + x * 4);
      dst[x * 3] = Channel(v, masks[2]);
      dst[x * 3 + 1] = Channel(v, masks[1]);
      dst[x * 3 + 2] = Channel(v, masks[0]);
    }
  }
  return out;
}

}  // namespace rf::gif
