// Composing one animation frame onto its destination by the disposal
// methods of the frame and of the frame before it, with a work buffer (the
// picture as it stands), a previous-frame buffer and a saved background.
// The steps are fixed here; the surfaces (GDI bitmaps, or RGBA arrays in
// memory) are the caller's.
#pragma once

#include <vector>

#include "gif/base/geometry.h"

namespace rf::gif {

class TGIFSubImage;

enum class TComposeTarget { Work, Destination, Previous };

struct TDisposalPlan {
  TComposeTarget target = TComposeTarget::Work;
  bool copy_work_to_previous = false;  // before drawing
  bool restore_after = false;          // the frame's area to the background, after showing
  friend bool operator==(const TDisposalPlan&, const TDisposalPlan&) = default;
};

// Where a frame with disposal method `disposal` is drawn, given the method
// of the frame before it. Methods 4 to 7 are not defined by GIF89a and are
// taken as 1 (leave the frame in place), as for a frame with no method.
TDisposalPlan PlanDisposal(int disposal, int previous);

class TComposeSurfaces {
 public:
  virtual ~TComposeSurfaces() = default;
  virtual bool HasWorkBuffer() const = 0;
  // Draws the frame onto the target with the picture's transparency and
  // tiling (the frame's palette selected meanwhile).
  virtual void DrawFrame(TComposeTarget target, int frame) = 0;
  // Copies a buffer to the destination rectangle.
  virtual void Present(TComposeTarget from) = 0;
  virtual void CopyWorkToPrevious() = 0;
  // Restores the frame's area (or its tiles) of the work buffer to the
  // background: from the saved background, or with the background colour.
  virtual void RestoreBackground(int frame) = 0;
};

// Draws one frame: straight onto the destination without a work buffer,
// else by the plan above. clear_first restores the frame's area before
// drawing (the first frame of a pass with clear-on-repeat).
void ComposeFrame(TComposeSurfaces& surfaces, int frame, int disposal, int previous,
                  bool clear_first);

}  // namespace rf::gif
