// A character table picture as colour indexes: silver background, the black
// grid of 18-pixel-wide cells with its outer frame, and each drawn cell's glyph.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/tablepics/cell_list.h"
#include "tools/tablepics/unifont.h"

namespace rf::tablepics {

inline constexpr int kCellWidth = 18;
inline constexpr std::uint8_t kBlack = 0;   // colour table entry of grid and glyphs
inline constexpr std::uint8_t kSilver = 4;  // colour table entry of the background

struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // row by row, top down

  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  void Put(int x, int y, std::uint8_t index) {
    pixels[static_cast<std::size_t>(y * width + x)] = index;
  }
};

// Where a cell may carry ink: its inside less the pixel next to each grid
// line (inclusive bounds).
struct CellArea {
  int left, top, right, bottom;
};
CellArea InkAreaOf(const TableInfo& table, int cell);

// Draws the whole picture. Throws std::runtime_error when a drawn cell's
// character has no glyph or its glyph cannot fit the cell.
IndexedPicture DrawTablePicture(const TableInfo& table, const Unifont& font);

}  // namespace rf::tablepics
