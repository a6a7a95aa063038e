// Where the preview popup goes: near the pointer, never over the cell
// under it, inside the monitor's work area. A pure function, so its edges
// are tested natively.
#pragma once

namespace rf::picker {

// Screen pixels; right and bottom lie just outside.
struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

// Below the cell first (the way tooltips open), then above, right, left;
// each slid along the cell's edge to stay in the work area. A popup that
// fits none of them keeps clear of the cell at least vertically, or lies
// at the work area's top left when it is larger than the work area.
ScreenRect PlacePreview(const ScreenRect& cell, ScreenPoint pointer, int width, int height,
                        const ScreenRect& work_area);

}  // namespace rf::picker
