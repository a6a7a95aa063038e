// The display scale of a dialog and the one rule that turns the layouts'
// 96-DPI pixels into device pixels and back. Portable, so the rule is
// tested natively over the whole layout.
//
// The rule scales edges, not sizes: a control at left, width becomes
// Edge(left) .. Edge(left + width), every edge rounded half up. Since Edge
// is strictly increasing for scales of 100 % and more, two controls that
// touch at 96 DPI still touch, two that are apart stay apart, two that
// overlap still overlap, and a child inside its parent stays inside.
#pragma once

#include <array>
#include <span>

#include "framework/layout.h"

namespace rf::fw {

// Windows' display scale steps, in percent.
inline constexpr std::array<int, 8> kScaleSteps = {100, 125, 150, 175, 200, 225, 250, 300};

inline constexpr int kLayoutDpi = 96;

// The largest step at or below dpi / 96; 100 % for anything less.
int ScalePercentForDpi(int dpi);

class Scale {
 public:
  constexpr Scale() = default;
  explicit constexpr Scale(int percent) : percent_(percent) {}

  constexpr int Percent() const { return percent_; }
  constexpr int Dpi() const { return kLayoutDpi * percent_ / 100; }
  constexpr bool IsIdentity() const { return percent_ == 100; }

  // The device pixel of a layout edge: round(x * percent / 100), halves up.
  int Edge(int x) const;
  // The layout unit whose device pixels hold a device position: the
  // largest x with Edge(x) <= device. Also for negative positions (a drag
  // with the mouse captured reaches left of or above the control).
  int ToLayout(int device) const;
  // A rectangle by its edges, relative to the same parent origin.
  Bounds Apply(const Bounds& b) const;
  // A length that starts at a layout position (a row's height below the
  // control's top edge), so that it ends where that edge lands.
  int Span(int start, int length) const { return Edge(start + length) - Edge(start); }
  // A font's character height: the layout's 96-DPI pixels stand for whole
  // points (11 pixels: 8 pt), made again at this scale (8 pt at 150 %: 16
  // pixels), so text is set at its own size and never stretched.
  int FontHeight(int layout_pixels) const;

 private:
  int percent_ = 100;
};

}  // namespace rf::fw
