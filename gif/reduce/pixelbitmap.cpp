#include "gif/reduce/pixelbitmap.h"

#include <cstring>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

PixelBitmap::PixelBitmap(int width, int height, int bits_per_pixel, Palette palette)
    : palette_(std::move(palette)) {
  if (!IsSupportedDepth(bits_per_pixel)) throw GIFException(msg::kUnsupportedBitmapFormat);
  // Rows are addressed with int strides: keep the whole well inside that.
  if (width <= 0 || height <= 0 || width > 0x7FFF'FFFF / 32 ||
      static_cast<std::int64_t>(width) * height > (std::int64_t{1} << 28))
    throw GIFException(msg::kInvalidDimensions);
  width_ = width;
  height_ = height;
  bits_per_pixel_ = bits_per_pixel;
  stride_ = ((width * bits_per_pixel + 31) / 32) * 4;
  bits_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height), 0);
}

std::uint8_t* PixelBitmap::ScanLine(int row) {
  if (row < 0 || row >= height_) throw GIFException(msg::kScanLineOutOfRange);
  return bits_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(stride_);
}

const std::uint8_t* PixelBitmap::ScanLine(int row) const {
  return const_cast<PixelBitmap*>(this)->ScanLine(row);
}

void PixelBitmap::ReadRow(int row, int bits, std::vector<std::uint8_t>& out) const {
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
    throw GIFException(msg::kUnsupportedPixelFormat);
  const std::uint8_t* src = ScanLine(row);
  if (bits != 24) {
    if (bits != bits_per_pixel_) throw GIFException(msg::kUnsupportedPixelFormat);
    out.assign(src, src + stride_);
    return;
  }
  const auto width = static_cast<std::size_t>(width_);
  out.resize(width * 3);
  std::uint8_t* dst = out.data();
  auto put_index = [&](std::size_t x, unsigned index) {
    PaletteEntry e;
    if (index < palette_.size()) e = palette_[index];
    dst[x * 3] = e.blue;
    dst[x * 3 + 1] = e.green;
    dst[x * 3 + 2] = e.red;
  };
  switch (bits_per_pixel_) {
    case 1:
      for (std::size_t x = 0; x < width; ++x) put_index(x, (src[x >> 3] >> (7 - (x & 7))) & 1u);
      break;
    case 4:
      for (std::size_t x = 0; x < width; ++x)
        put_index(x, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u);
      break;
    case 8:
      for (std::size_t x = 0; x < width; ++x) put_index(x, src[x]);
      break;
    case 16:
      for (std::size_t x = 0; x < width; ++x) {
        unsigned v = src[x * 2] | (src[x * 2 + 1] << 8);
        auto expand = [](unsigned five) {
          return static_cast<std::uint8_t>((five << 3) | (five >> 2));
        };
        dst[x * 3] = expand(v & 31);
        dst[x * 3 + 1] = expand((v >> 5) & 31);
        dst[x * 3 + 2] = expand((v >> 10) & 31);
      }
      break;
    case 24:
      std::memcpy(dst, src, width * 3);
      break;
    case 32:
      for (std::size_t x = 0; x < width; ++x) {
        dst[x * 3] = src[x * 4];
        dst[x * 3 + 1] = src[x * 4 + 1];
        dst[x * 3 + 2] = src[x * 4 + 2];
      }
      break;
    default:
      break;
  }
}

namespace {

PixelBitmap FromInterleaved(int width, int height, std::span<const std::uint8_t> pixels,
                            int channels) {
  if (width <= 0 || height <= 0) return {};
  if (pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                          static_cast<std::size_t>(channels))
    throw GIFException(msg::kInvalidDimensions);
  PixelBitmap bitmap(width, height, channels * 8);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* dst = bitmap.ScanLine(y);
    const std::uint8_t* src =
        pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * channels;
    for (int x = 0; x < width; ++x, src += channels, dst += channels) {
      dst[0] = src[2];
      dst[1] = src[1];
      dst[2] = src[0];
      if (channels == 4) dst[3] = src[3];
    }
  }
  return bitmap;
}

}  // namespace

PixelBitmap BitmapFromRgb(int width, int height, std::span<const std::uint8_t> rgb) {
  return FromInterleaved(width, height, rgb, 3);
}

PixelBitmap BitmapFromRgba(int width, int height, std::span<const std::uint8_t> rgba) {
  return FromInterleaved(width, height, rgba, 4);
}

PixelBitmap BitmapFromIndexes(int width, int height, int bits_per_pixel,
                              std::span<const std::uint8_t> indexes, Palette palette) {
  if (bits_per_pixel != 1 && bits_per_pixel != 4 && bits_per_pixel != 8)
    throw GIFException(msg::kUnsupportedBitmapFormat);
  if (width <= 0 || height <= 0) return {};
  if (indexes.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    throw GIFException(msg::kInvalidDimensions);
  PixelBitmap bitmap(width, height, bits_per_pixel, std::move(palette));
  const unsigned mask = (1u << bits_per_pixel) - 1;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* dst = bitmap.ScanLine(y);
    const std::uint8_t* src = indexes.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      unsigned v = src[x] & mask;
      switch (bits_per_pixel) {
        case 8:
          dst[x] = static_cast<std::uint8_t>(v);
          break;
        case 4:
          dst[x >> 1] |= static_cast<std::uint8_t>(v << ((x & 1) ? 0 : 4));
          break;
        default:
          dst[x >> 3] |= static_cast<std::uint8_t>(v << (7 - (x & 7)));
          break;
      }
    }
  }
  return bitmap;
}

}  // namespace rf::gif
