// A table picture at a display scale above 100 %: the same grid, cell
// order and characters as the 100 % picture, its grid lines over the device
// pixels the scale's edge rule gives each 96-DPI line (where the mouse
// handlers put the cell boundaries), and each glyph drawn smoothly from the
// scalable fonts in greys between black and silver.
#pragma once

#include <array>
#include <cstdint>

#include "framework/scale.h"
#include "tools/tablepics/font_chain.h"
#include "tools/tablepics/picture_file.h"
#include "tools/tablepics/table_picture.h"

namespace rf::tablepics {

// Greys between silver (level 0, entry kSilver) and black (level 16, entry
// kBlack); levels 1 to 15 are entries kFirstGrey onwards.
inline constexpr int kGreyLevels = 16;
inline constexpr std::uint8_t kFirstGrey = 16;
std::uint8_t GreyEntry(int level);

// The table palette with the greys in entries kFirstGrey and up.
std::array<Rgb, 256> ScaledPalette();

// The device pixels where a cell's glyph may lie: its ink area's 96-DPI
// edges, scaled (inclusive bounds).
CellArea ScaledInkAreaOf(const TableInfo& table, int cell, const fw::Scale& scale);

// Throws std::runtime_error when a drawn cell's character has no glyph.
IndexedPicture DrawScaledTablePicture(const TableInfo& table, const FontChain& fonts,
                                      const fw::Scale& scale);

}  // namespace rf::tablepics
