#include "picker/CellGlyphs.h"

#include "picker/Hover.h"

namespace rf::picker {

using chardata::TCharTableKind;

CellGlyphs::CellGlyphs(std::function<fw::Graphic*(TCharTableKind)> picture_of)
    : picture_of_(std::move(picture_of)) {}

SIZE CellGlyphs::CellSize(TCharTableKind kind) {
  return {kCellWidth - 1, PictureOf(kind).cell_height - 1};
}

const fw::MemoryBitmap* CellGlyphs::Rendered(HDC compatible_with, TCharTableKind kind) {
  fw::MemoryBitmap& slot = rendered_[static_cast<std::size_t>(kind)];
  if (slot) return &slot;
  fw::Graphic* picture = picture_of_ ? picture_of_(kind) : nullptr;
  if (!picture || picture->Empty()) return nullptr;
  const PictureParams& p = PictureOf(kind);
  fw::MemoryBitmap bitmap(compatible_with, p.width, p.height);
  const RECT all = {0, 0, p.width, p.height};
  FillRect(bitmap.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
  fw::Canvas canvas(bitmap.dc());
  picture->Draw(canvas, all);
  slot = std::move(bitmap);
  return &slot;
}

void CellGlyphs::Draw(HDC dc, TCharTableKind kind, int index, const RECT& dest) {
  const fw::MemoryBitmap* source = Rendered(dc, kind);
  if (!source) return;
  const PictureParams& p = PictureOf(kind);
  // Cells run down each column; the inside starts one pixel past the grid.
  const int left = index / p.rows * kCellWidth + 1;
  const int top = index % p.rows * p.cell_height + 1;
  const SIZE size = CellSize(kind);
  fw::StretchModeScope mode(dc);
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source->dc(),
             left, top, size.cx, size.cy, SRCCOPY);
}

}  // namespace rf::picker
