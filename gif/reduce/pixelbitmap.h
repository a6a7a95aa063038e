// A device-independent bitmap in memory, the form in which pictures reach
// the colour reduction and the frame import: rows top to bottom, each
// padded to 32 bits, pixels as a Windows DIB holds them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gif/base/palette.h"

namespace rf::gif {

class PixelBitmap {
 public:
  // An empty bitmap (no pixels).
  PixelBitmap() = default;
  // A bitmap of 1, 4, 8 (indexes into `palette`), 16 (5-5-5, red highest),
  // 24 (blue, green, red) or 32 (blue, green, red, unused) bits a pixel,
  // zero-filled. Raises "Unsupported bitmap format" for another depth and
  // "Invalid image dimensions" for a zero or negative size.
  PixelBitmap(int width, int height, int bits_per_pixel, Palette palette = {});

  bool Empty() const { return width_ == 0 || height_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bits_per_pixel_; }
  int Stride() const { return stride_; }
  bool HasPalette() const { return bits_per_pixel_ <= 8 && !palette_.empty(); }
  const Palette& GetPalette() const { return palette_; }
  void SetPalette(Palette palette) { palette_ = std::move(palette); }

  // Row `row` (0 = top); "Scan line index out of range" outside.
  std::uint8_t* ScanLine(int row);
  const std::uint8_t* ScanLine(int row) const;

  // Row `row` as `bits` (1, 4, 8 or 24) bits a pixel into `out` (resized to
  // fit). 24 converts any depth (indexes through the palette, missing
  // entries black); 1, 4 and 8 are the bitmap's own bytes and need that
  // depth. Raises "Unsupported PixelFormat" for any other request.
  void ReadRow(int row, int bits, std::vector<std::uint8_t>& out) const;

  static bool IsSupportedDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  int bits_per_pixel_ = 0;
  int stride_ = 0;
  Palette palette_;
  std::vector<std::uint8_t> bits_;
};

// Convenience constructors for callers holding plain pixel buffers (no row
// padding): 3 bytes red, green, blue, or 4 bytes red, green, blue, alpha.
PixelBitmap BitmapFromRgb(int width, int height, std::span<const std::uint8_t> rgb);
PixelBitmap BitmapFromRgba(int width, int height, std::span<const std::uint8_t> rgba);
// 1, 4 or 8 bits a pixel, one index per byte, with its palette.
PixelBitmap BitmapFromIndexes(int width, int height, int bits_per_pixel,
                              std::span<const std::uint8_t> indexes, Palette palette);

}  // namespace rf::gif
