#include "tools/tablepics/table_picture.h"

#include <stdexcept>
#include <string>

#include "tools/tablepics/cell_glyph.h"

namespace rf::tablepics {
namespace {

void DrawCell(IndexedPicture& pic, const TableInfo& table, int cell, const Unifont& font) {
  const char32_t cp = *table.cells[static_cast<std::size_t>(cell)].codepoint;
  const Bitmap glyph = CellGlyph(font, cp);
  const InkBox ink = InkBoxOf(glyph);
  const CellArea area = InkAreaOf(table, cell);
  const int area_width = area.right - area.left + 1;
  const int area_height = area.bottom - area.top + 1;
  if (ink.Width() > area_width || ink.Height() > area_height)
    throw std::runtime_error("glyph too large for cell " + std::to_string(cell) + " of " +
                             table.section);

  // Ink centred across the cell, the font's 16-row box centred down it, so
  // letters of one picture share a baseline. A glyph that would then leave
  // the area is centred by its ink instead.
  const int inside_left = area.left - 1;  // first pixel after the grid line
  const int inside_top = area.top - 1;
  const StrokeExtension ext = StrokeExtensionOf(cp);
  // Pieces of a stacked sign keep the font's placement so their stems line up.
  const int dx = (ext.up || ext.down) ? inside_left + (area_width + 2 - glyph.Width()) / 2
                                      : inside_left + (area_width + 2 - ink.Width()) / 2 - ink.left;
  int dy = inside_top + (area_height + 2 - glyph.Height()) / 2;
  if (ink.top + dy < area.top || ink.bottom + dy > area.bottom)
    dy = inside_top + (area_height + 2 - ink.Height()) / 2 - ink.top;

  for (int y = 0; y < glyph.Height(); ++y)
    for (int x = 0; x < glyph.Width(); ++x)
      if (glyph.Get(x, y)) pic.Put(x + dx, y + dy, kBlack);

  // Strokes that reach the font box's edge run on to the area's edge.
  for (int x = 0; x < glyph.Width(); ++x) {
    if (ext.down && glyph.Get(x, glyph.Height() - 1))
      for (int y = glyph.Height() - 1 + dy; y <= area.bottom; ++y) pic.Put(x + dx, y, kBlack);
    if (ext.up && glyph.Get(x, 0))
      for (int y = area.top; y <= dy; ++y) pic.Put(x + dx, y, kBlack);
  }
}

}  // namespace

CellArea InkAreaOf(const TableInfo& table, int cell) {
  const int x0 = kCellWidth * (cell / table.rows);
  const int y0 = table.cell_height * (cell % table.rows);
  return {x0 + 2, y0 + 2, x0 + kCellWidth - 2, y0 + table.cell_height - 2};
}

IndexedPicture DrawTablePicture(const TableInfo& table, const Unifont& font) {
  IndexedPicture pic;
  pic.width = table.Width();
  pic.height = table.Height();
  pic.pixels.assign(static_cast<std::size_t>(pic.width * pic.height), kSilver);
  for (int x = 0; x < pic.width; x += kCellWidth)
    for (int y = 0; y < pic.height; ++y) pic.Put(x, y, kBlack);
  for (int y = 0; y < pic.height; y += table.cell_height)
    for (int x = 0; x < pic.width; ++x) pic.Put(x, y, kBlack);
  for (int i = 0; i < static_cast<int>(table.cells.size()); ++i)
    if (table.cells[static_cast<std::size_t>(i)].drawn) DrawCell(pic, table, i, font);
  return pic;
}

}  // namespace rf::tablepics
