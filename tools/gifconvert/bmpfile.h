// Reading Windows BMP files into bitmaps: the info header of 12, 40 or more
// bytes, 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed or with bit
// field masks, rows stored bottom-up or top-down.
#pragma once

#include <cstdint>
#include <span>

#include "gif/reduce/pixelbitmap.h"

namespace rf::gif {

// Raises GIFException: "Bitmap image is not valid" for a file that is not a
// BMP or is cut short, "Unsupported bitmap format" for compressed (RLE) or
// otherwise unknown layouts and depths.
PixelBitmap ReadBmp(std::span<const std::uint8_t> file);

}  // namespace rf::gif
