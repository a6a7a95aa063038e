// The ink a table picture draws for one character, made from a Unifont glyph.
#pragma once

#include "tools/tablepics/bitmap.h"
#include "tools/tablepics/unifont.h"

namespace rf::tablepics {

// Ink may be at most this wide: a cell's inside is 17 pixels, less one free
// pixel beside each grid line.
inline constexpr int kMaxInkWidth = 15;

// The glyph for a cell, 16 rows high like the font's. The soft hyphen is drawn
// as a short dash; a combining mark sits on a dotted circle so it is visible
// alone; ink wider than kMaxInkWidth loses its most redundant columns.
// Throws std::runtime_error when the font has no glyph for the character.
Bitmap CellGlyph(const Unifont& font, char32_t cp);

// Removes ink columns until the ink is at most max_width wide: first columns
// equal to a neighbour (a doubled stem or bar), nearest the middle first, then
// the column that differs least from a neighbour, merged into it.
Bitmap NarrowInk(const Bitmap& glyph, int max_width);

// Which ends of a glyph's vertical strokes run on to the edges of the cell's
// drawing area, so stacked pieces read as one tall sign (the integral halves
// and the integral extension).
struct StrokeExtension {
  bool up = false;
  bool down = false;
};
StrokeExtension StrokeExtensionOf(char32_t cp);

}  // namespace rf::tablepics
