// Colour reduction: turns a bitmap of any depth into an 8-bit bitmap with
// a palette of at most 256 colours, by one of ten methods and with one of
// seven dither modes.
#pragma once

#include <memory>

#include "gif/colorlookup.h"
#include "gif/palette.h"
#include "gif/pixelbitmap.h"

namespace rf::gif {

// Reduction methods, by the numbers that `ColorReduction` holds.
enum TColorReduction : int {
  rmNone = 0,             // the picture is copied unchanged
  rmWindows20 = 1,        // the system's default palette (20 static colours)
  rmWindows256 = 2,       // the system's halftone palette
  rmWindowsGray = 3,      // 4 greys
  rmMonochrome = 4,       // black and white
  rmGrayScale = 5,        // 256 greys
  rmNetscape = 6,         // the 216-colour cube
  rmQuantize = 7,         // octree, 2^ReductionBits colours
  rmQuantizeWindows = 8,  // octree, 236 colours between the static colours
  rmPalette = 9,          // a palette given by the caller
};

// Dither modes, by the numbers that `DitherMode` holds.
enum TDitherMode : int {
  dmNearest = 0,
  dmFloydSteinberg = 1,
  dmStucki = 2,
  dmSierra = 3,
  dmJaJuNi = 4,
  dmSteveArche = 5,
  dmBurkes = 6,
};

struct ReductionSettings {
  int method = rmNetscape;
  int dither_mode = dmNearest;
  int bits = 8;           // ReductionBits, for method 7 (1 to 8)
  Palette palette;        // for method 9
  SystemPalettes system;  // for methods 1, 2 and 8
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
