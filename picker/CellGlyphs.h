// The glyphs of the table pictures, cell by cell: each picture is drawn
// once into a memory bitmap at its own size, and a cell is copied from it
// (enlarged by whole pixels), so the preview and the search show exactly
// what the grid shows, at the picker's display scale too.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "chardata/char_table_kind.h"
#include "framework/gdi.h"
#include "framework/graphic.h"
#include "framework/scale.h"

namespace rf::picker {

class CellGlyphs {
 public:
  // The picture shown for a table (nullptr where the module has none), and
  // the scale the picker is laid out at.
  CellGlyphs(std::function<fw::Graphic*(chardata::TCharTableKind)> picture_of,
             std::function<fw::Scale()> scale_of);

  // The inside of a cell, without its grid lines, in the pixels of the
  // picture on show.
  SIZE CellSize(chardata::TCharTableKind kind, int index) const;
  // Copies the cell into dest, stretched without smoothing; draws nothing
  // when the table has no picture.
  void Draw(HDC dc, chardata::TCharTableKind kind, int index, const RECT& dest);

 private:
  struct Rendered {
    fw::MemoryBitmap bitmap;
    const fw::Graphic* picture = nullptr;
    int width = 0, height = 0;
  };
  RECT Inside(chardata::TCharTableKind kind, int index) const;
  const fw::MemoryBitmap* Render(HDC compatible_with, chardata::TCharTableKind kind);

  std::function<fw::Graphic*(chardata::TCharTableKind)> picture_of_;
  std::function<fw::Scale()> scale_of_;
  std::array<Rendered, chardata::kCharTableKindCount> rendered_;
};

}  // namespace rf::picker
