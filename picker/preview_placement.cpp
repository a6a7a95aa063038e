#include "picker/preview_placement.h"

#include <algorithm>
#include <array>

namespace rf::picker {
namespace {

// The gap between the cell and the popup, so the pointer's arrow (which
// hangs below and right of the hot spot) stays visible too.
constexpr int kGap = 4;
// Below the cell, the popup starts a little left of the pointer, as a tip
// does.
constexpr int kPointerInset = 8;

int Slide(int start, int size, int low, int high) {
  return std::max(low, std::min(start, high - size));
}

bool Inside(const ScreenRect& r, const ScreenRect& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
         r.bottom <= area.bottom;
}

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ScreenRect At(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

}  // namespace

ScreenRect PlacePreview(const ScreenRect& cell, ScreenPoint pointer, int width, int height,
                        const ScreenRect& work) {
  const int x = Slide(pointer.x - kPointerInset, width, work.left, work.right);
  const int y = Slide(pointer.y - kPointerInset, height, work.top, work.bottom);
  const std::array<ScreenRect, 4> candidates = {
      At(x, cell.bottom + kGap, width, height),
      At(x, cell.top - kGap - height, width, height),
      At(cell.right + kGap, y, width, height),
      At(cell.left - kGap - width, y, width, height),
  };
  for (const ScreenRect& r : candidates)
    if (Inside(r, work) && !Overlaps(r, cell)) return r;
  // Larger than the room on every side: inside the work area, as far from
  // the cell as it gets.
  const int space_below = work.bottom - cell.bottom;
  const int space_above = cell.top - work.top;
  const int top = space_below >= space_above ? work.bottom - height : work.top;
  return At(Slide(x, width, work.left, work.right), Slide(top, height, work.top, work.bottom),
            width, height);
}

}  // namespace rf::picker
