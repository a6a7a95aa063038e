#include "gif/anim/animationcompose.h"

#include <algorithm>
#include <cstdint>

namespace rf::gif {

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
