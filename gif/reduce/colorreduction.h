// Colour reduction: turns a bitmap of any depth into an 8-bit bitmap with
// a palette of at most 256 colours, by one of ten methods and with one of
// seven dither modes.
#pragma once

#include <memory>

#include "gif/base/gifsettings.h"
#include "gif/base/palette.h"
#include "gif/reduce/colorlookup.h"
#include "gif/reduce/pixelbitmap.h"

namespace rf::gif {

struct ReductionSettings {
  TColorReduction method = rmNetscape;
  TDitherMode dither_mode = dmNearest;
  int bits = kDefaultReductionBits;  // ReductionBits, for method 7 (1 to 8)
  Palette palette;                   // for method 9
  SystemPalettes system;             // for methods 1, 2 and 8
};

// The palette and lookup of a method for a source picture (method 7 and 8
// quantize it); nullptr for a method it does not know, and for method 0.
// Raises "Color table is empty" for method 9 without a palette.
std::unique_ptr<TColorLookup> MakeReductionLookup(const PixelBitmap& source,
                                                  const ReductionSettings& settings);

// The reduced bitmap: method 0 answers a copy of the source; methods above
// 9 and dither modes above 6 answer an empty bitmap; otherwise an 8-bit
// bitmap of the source's size whose palette is the method's.
PixelBitmap ReduceColors(const PixelBitmap& source, const ReductionSettings& settings);

}  // namespace rf::gif
