#include "framework/scale.h"

namespace rf::fw {
namespace {

// Division rounding towards minus infinity (positions may be negative).
int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

int ScalePercentForDpi(int dpi) {
  int best = kScaleSteps.front();
  for (const int step : kScaleSteps)
    if (step * kLayoutDpi <= dpi * 100) best = step;
  return best;
}

int Scale::Edge(int x) const {
  return FloorDiv(x * percent_ + 50, 100);
}

// Edge(x) <= d  <=>  x * p + 50 < 100 (d + 1)  <=>  x * p <= 100 d + 49.
int Scale::ToLayout(int device) const {
  return FloorDiv(100 * device + 49, percent_);
}

Bounds Scale::Apply(const Bounds& b) const {
  const int left = Edge(b.left), top = Edge(b.top);
  return {left, top, Edge(b.left + b.width) - left, Edge(b.top + b.height) - top};
}

int Scale::FontHeight(int layout_pixels) const {
  if (IsIdentity()) return layout_pixels;
  const int points = (layout_pixels * 72 + kLayoutDpi / 2) / kLayoutDpi;
  return (points * Dpi() + 36) / 72;
}

}  // namespace rf::fw
