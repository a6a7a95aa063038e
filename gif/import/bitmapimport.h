// Making GIF frames of bitmaps: a bitmap of any depth becomes a frame of at
// most 256 colours, one byte a pixel, with a local colour map. Bitmaps of 1,
// 4 or 8 bits with a palette are taken over unchanged; others are reduced
// first (method, dither mode and bits of the settings).
#pragma once

#include <cstdint>
#include <span>

#include "gif/gifimage.h"
#include "gif/reduce/colorreduction.h"
#include "gif/reduce/pixelbitmap.h"

namespace rf::gif {

// The image's reduction options, `ColorReduction`, `DitherMode` and
// `ReductionBits` (with the palette for method 9).
ReductionSettings ReductionSettingsOf(const TGIFImage& image);

// Clears the frame and fills it from the bitmap (an empty bitmap leaves it
// empty). Reports "Converting..." progress to the frame's image. Raises
// "Color table overflow" when a bitmap of more than 8 bits holds more than
// 256 colours after the reduction (method 0), and "Invalid image
// dimensions" for a bitmap wider or taller than a frame can be.
void AssignBitmap(TGIFSubImage& frame, const PixelBitmap& bitmap,
                  const ReductionSettings& settings);
// The same with the options of the frame's image.
void AssignBitmap(TGIFSubImage& frame, const PixelBitmap& bitmap);

// Makes the pixels whose mask byte is non-zero (one byte a pixel, rows top
// to bottom) transparent: the colour map is optimised, a colour is added
// for them (with a full map the least used entry is given up, its pixels
// going to the nearest other entry), and the frame's graphic control
// extension (made when missing) names it as the transparent colour. Does
// nothing when no mask byte is set.
void ApplyTransparency(TGIFSubImage& frame, std::span<const std::uint8_t> mask);

// Copies another frame: descriptor, transparency, pixels, colour map and
// extensions (written out and read back).
void AssignFrame(TGIFSubImage& frame, const TGIFSubImage& source);

// Replaces the image's content with one frame made of the bitmap: the
// logical screen gets the bitmap's size. Pixels of a 32-bit bitmap whose
// alpha is below 128 become transparent when `alpha_transparency` is set.
void AssignBitmapToImage(TGIFImage& image, const PixelBitmap& bitmap,
                         bool alpha_transparency = false);

}  // namespace rf::gif
