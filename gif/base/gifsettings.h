// The choices a picture carries for the halves that write and reduce it:
// the coder its frames are written with, and how bitmaps of more than 256
// colours are reduced when they are made into frames. They live here so that
// the picture names them without depending on the writer or the reduction.
#pragma once

namespace rf::gif {

// Which coder frames are written with.
enum TGIFCompression : int { gcLZW = 0, gcRLE = 1 };

// Reduction methods, by the numbers that `ColorReduction` holds. Values
// outside the list are kept as they are (the reduction answers an empty
// bitmap for them).
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

// The colours of method 7 as bits: 2^8 = 256.
inline constexpr int kDefaultReductionBits = 8;

}  // namespace rf::gif
