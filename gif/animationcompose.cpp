#include "gif/animationcompose.h"

#include <algorithm>
#include <cstdint>

namespace rf::gif {

int MulDivRound(int value, int numerator, int denominator) {
  if (denominator == 0) return value;
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t half = (denominator < 0 ? -std::int64_t{denominator} : denominator) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = (product < 0 ? -product : product) + half;
  const std::int64_t quotient =
      magnitude / (denominator < 0 ? -std::int64_t{denominator} : denominator);
  return static_cast<int>(negative ? -quotient : quotient);
}

TIntRect PlaceFrame(const TIntRect& rect, int screen_w, int screen_h, int left, int top, int width,
                    int height) {
  const int rw = rect.Width();
  const int rh = rect.Height();
  const int sw = screen_w > 0 ? screen_w : left + width;
  const int sh = screen_h > 0 ? screen_h : top + height;
  return {rect.left + MulDivRound(left, rw, sw), rect.top + MulDivRound(top, rh, sh),
          rect.left + MulDivRound(left + width, rw, sw),
          rect.top + MulDivRound(top + height, rh, sh)};
}

std::vector<TIntRect> TileRects(const TIntRect& rect, int tile_w, int tile_h) {
  std::vector<TIntRect> tiles;
  if (tile_w <= 0 || tile_h <= 0) return tiles;
  for (int y = rect.top; y < rect.bottom; y += tile_h) {
    for (int x = rect.left; x < rect.right; x += tile_w) {
      tiles.push_back({x, y, std::min(x + tile_w, rect.right), std::min(y + tile_h, rect.bottom)});
    }
  }
  return tiles;
}

TDisposalPlan PlanDisposal(int disposal, int previous) {
  if (disposal < 0 || disposal >= 4) disposal = 1;
  if (previous < 0 || previous >= 4) previous = 1;
  TDisposalPlan plan;
  switch (disposal) {
    case 2:
      plan.restore_after = true;
      break;
    case 3:
      // The work buffer keeps the picture as it was before this frame.
      // After a frame that was left in place the destination shows exactly
      // that, so the frame goes straight there; after one that was
      // disposed the destination still shows the disposed frame, so the
      // frame is drawn on a copy of the work buffer instead.
      if (previous <= 1) {
        plan.target = TComposeTarget::Destination;
      } else {
        plan.target = TComposeTarget::Previous;
        plan.copy_work_to_previous = true;
      }
      break;
    default:
      break;
  }
  return plan;
}

void ComposeFrame(TComposeSurfaces& surfaces, int frame, int disposal, int previous,
                  bool clear_first) {
  if (!surfaces.HasWorkBuffer()) {
    surfaces.DrawFrame(TComposeTarget::Destination, frame);
    return;
  }
  const TDisposalPlan plan = PlanDisposal(disposal, previous);
  if (plan.copy_work_to_previous) surfaces.CopyWorkToPrevious();
  if (clear_first) surfaces.RestoreBackground(frame);
  surfaces.DrawFrame(plan.target, frame);
  if (plan.target != TComposeTarget::Destination) surfaces.Present(plan.target);
  if (plan.restore_after) surfaces.RestoreBackground(frame);
}

}  // namespace rf::gif
