#include "gif/anim/animationrun.h"

#include "gif/anim/animationtiming.h"
#include "gif/gifimage.h"
#include "gif/model/gifextensions.h"
#include "gif/model/gifsubimage.h"

namespace rf::gif {

TFrameStep FrameStepOf(const TGIFSubImage& frame) {
  TFrameStep step;
  step.empty = frame.Empty();
  for (const auto& extension : frame.Extensions()) {
    if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(extension.get())) {
      if (!step.has_loop) {
        step.has_loop = true;
        step.loop_count = loop->LoopCount();
      }
    } else if (const auto* gce =
                   dynamic_cast<const TGIFGraphicControlExtension*>(extension.get())) {
      step.disposal = gce->Disposal();
    }
  }
  if (const TGIFGraphicControlExtension* gce = frame.GraphicControlExtension()) {
    step.has_control = true;
    step.delay = gce->Delay();
  }
  return step;
}

unsigned DisposalSet(const TGIFImage& image, bool clear_on_repeat) {
  unsigned set = clear_on_repeat ? 1u << 2 : 0u;
  for (const auto& frame : image.Images()) {
    if (const TGIFGraphicControlExtension* gce = frame->GraphicControlExtension()) {
      set |= 1u << gce->Disposal();
    }
  }
  return set;
}

TBufferPlan PlanBuffers(unsigned disposal_set, bool transparent) {
  TBufferPlan plan;
  const bool background = (disposal_set & (1u << 2)) != 0;
  const bool previous = (disposal_set & (1u << 3)) != 0;
  plan.saved_background = background && transparent;
  plan.work_buffers = background || previous;
  return plan;
}

void TAnimationRun::Run() {
  active_ = 0;
  driver_.Event(TPaintEvent::PaintStart);
  frame_drawn_ = false;
  loop_count_ = 1;
  loop_start_ = 0;
  int previous_disposal = 1;
  bool loop_seen = false;
  bool first = true;
  int units = 1;
  driver_.StartClock();

  while ((loop_count_ != 0 || options_.repeat_forever) && !driver_.Terminated()) {
    active_ = loop_start_;
    if (frame_drawn_) driver_.Event(TPaintEvent::PassRepeat);
    int shown = 0;
    while (!driver_.Terminated()) {
      const int index = active_;
      TFrameStep step;
      if (index < 0 || !driver_.PrepareFrame(index, step) || step.empty) break;
      // A threaded run shows its first frame at once; one inside the
      // drawing call first lets pending messages through.
      if (!first) {
        driver_.Wait(units);
      } else if (!options_.threaded) {
        driver_.Wait(1);
      }
      first = false;
      if (driver_.Terminated()) break;
      driver_.Event(TPaintEvent::FrameBegin);
      if (step.has_loop && !loop_seen) {
        loop_seen = true;
        loop_count_ = (step.loop_count == 0 || options_.repeat_forever) && options_.threaded
                          ? kEndless
                          : step.loop_count;
        loop_start_ = index;
      }
      if (driver_.DrawFrame(index, step.disposal, previous_disposal)) frame_drawn_ = true;
      previous_disposal = step.disposal;
      units = FrameDelayUnits(step.has_control, step.delay, options_.threaded);
      ++shown;
      driver_.Event(TPaintEvent::FrameEnd);
      if (active_ == index) active_ = index + 1;
      if (!options_.animate) break;
    }
    if (loop_count_ > 0) --loop_count_;
    if (!(options_.animate && options_.repeat)) break;
    // A pass that shows nothing would spin forever without a wait.
    if (shown == 0) break;
  }
  active_ = -1;
  driver_.Event(TPaintEvent::PaintEnd);
}

}  // namespace rf::gif
