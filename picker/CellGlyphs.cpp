#include "picker/CellGlyphs.h"

#include "picker/Hover.h"

namespace rf::picker {

using chardata::TCharTableKind;

CellGlyphs::CellGlyphs(std::function<fw::Graphic*(TCharTableKind)> picture_of,
                       std::function<fw::Scale()> scale_of)
    : picture_of_(std::move(picture_of)), scale_of_(std::move(scale_of)) {}

// A picture drawn for the picker's scale puts each grid line over the
// device pixels the scale gives it; the 100 % picture is used as it is.
RECT CellGlyphs::Inside(TCharTableKind kind, int index) const {
  const PictureParams& p = PictureOf(kind);
  const fw::Graphic* picture = picture_of_ ? picture_of_(kind) : nullptr;
  fw::Scale s = scale_of_ ? scale_of_() : fw::Scale();
  if (!picture || picture->Width() != s.Edge(p.width)) s = fw::Scale();
  const CellBox b = CellBounds(p, index);
  // The inside starts one pixel past the grid line.
  return {s.Edge(b.left + 1), s.Edge(b.top + 1), s.Edge(b.right), s.Edge(b.bottom)};
}

SIZE CellGlyphs::CellSize(TCharTableKind kind, int index) const {
  const RECT r = Inside(kind, index);
  return {r.right - r.left, r.bottom - r.top};
}

const fw::MemoryBitmap* CellGlyphs::Render(HDC compatible_with, TCharTableKind kind) {
  fw::Graphic* picture = picture_of_ ? picture_of_(kind) : nullptr;
  if (!picture || picture->Empty()) return nullptr;
  Rendered& slot = rendered_[static_cast<std::size_t>(kind)];
  // A change of scale loads other pictures: draw those anew.
  if (slot.bitmap && slot.picture == picture && slot.width == picture->Width() &&
      slot.height == picture->Height())
    return &slot.bitmap;
  const int w = picture->Width(), h = picture->Height();
  fw::MemoryBitmap bitmap(compatible_with, w, h);
  const RECT all = {0, 0, w, h};
  FillRect(bitmap.dc(), &all, GetSysColorBrush(COLOR_BTNFACE));
  fw::Canvas canvas(bitmap.dc());
  picture->Draw(canvas, all);
  slot = {std::move(bitmap), picture, w, h};
  return &slot.bitmap;
}

void CellGlyphs::Draw(HDC dc, TCharTableKind kind, int index, const RECT& dest) {
  const fw::MemoryBitmap* source = Render(dc, kind);
  if (!source) return;
  const RECT from = Inside(kind, index);
  fw::StretchModeScope mode(dc);
  StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, source->dc(),
             from.left, from.top, from.right - from.left, from.bottom - from.top, SRCCOPY);
}

}  // namespace rf::picker
