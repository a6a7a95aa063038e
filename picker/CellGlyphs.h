// The glyphs of the table pictures, cell by cell: each picture is drawn
// once into a memory bitmap, and a cell is copied from it (enlarged by
// whole pixels), so the preview and the search show exactly what the grid
// shows.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "chardata/char_table_kind.h"
#include "framework/gdi.h"
#include "framework/graphic.h"

namespace rf::picker {

class CellGlyphs {
 public:
  // The picture shown for a table; nullptr where the module has none.
  explicit CellGlyphs(std::function<fw::Graphic*(chardata::TCharTableKind)> picture_of);

  // The inside of a cell, without its grid lines.
  static SIZE CellSize(chardata::TCharTableKind kind);
  // Copies the cell into dest, stretched without smoothing; draws nothing
  // when the table has no picture.
  void Draw(HDC dc, chardata::TCharTableKind kind, int index, const RECT& dest);

 private:
  const fw::MemoryBitmap* Rendered(HDC compatible_with, chardata::TCharTableKind kind);

  std::function<fw::Graphic*(chardata::TCharTableKind)> picture_of_;
  std::array<fw::MemoryBitmap, chardata::kCharTableKindCount> rendered_;
};

}  // namespace rf::picker
