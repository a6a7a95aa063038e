// The course of one animation run, apart from any window system: passes
// over the frames, the loop count of a "NETSCAPE2.0" or "ANIMEXTS1.0"
// extension with the pass restarting at the frame that holds it, the
// waits between frames and the five painting events. A driver supplies the
// frames, the waiting and the drawing.
#pragma once

#include <atomic>
#include <cstdint>

namespace rf::gif {

class TGIFImage;
class TGIFSubImage;

// What the run reads of one frame.
struct TFrameStep {
  bool empty = false;  // only extensions, no pixels: ends the pass
  bool has_loop = false;
  std::uint16_t loop_count = 0;
  bool has_control = false;  // the frame's linked graphic control extension
  int delay = 0;             // its delay in hundredths
  int disposal = 1;          // of the last graphic control extension; 1 without one
};
TFrameStep FrameStepOf(const TGIFSubImage& frame);

// Bit d set for each disposal method d that a run of the picture meets:
// method 2 with clear_on_repeat, and every frame's linked extension's.
unsigned DisposalSet(const TGIFImage& image, bool clear_on_repeat);

struct TBufferPlan {
  bool work_buffers = false;      // the work and the previous-frame buffer
  bool saved_background = false;  // the destination's content, for transparent restoring
};
TBufferPlan PlanBuffers(unsigned disposal_set, bool transparent);

enum class TPaintEvent { PaintStart, FrameBegin, FrameEnd, PassRepeat, PaintEnd };

struct TRunOptions {
  bool threaded = false;
  bool animate = true;
  bool repeat = true;
  bool repeat_forever = false;
};

class TAnimationDriver {
 public:
  virtual ~TAnimationDriver() = default;
  virtual bool Terminated() const = 0;
  // Reads the frame at index and makes its bitmap; false when the index is
  // no longer a frame of the picture.
  virtual bool PrepareFrame(int index, TFrameStep& step) = 0;
  // Starts the clock of the waits.
  virtual void StartClock() = 0;
  // Waits `units` hundredths (scaled by the speed) before the next frame.
  virtual void Wait(int units) = 0;
  virtual void Event(TPaintEvent event) = 0;
  // Draws the frame by its disposal and the previous frame's; answers
  // whether it counts as drawn.
  virtual bool DrawFrame(int index, int disposal, int previous_disposal) = 0;
};

class TAnimationRun {
 public:
  static constexpr int kEndless = -1;

  TAnimationRun(TAnimationDriver& driver, const TRunOptions& options)
      : driver_(driver), options_(options) {}

  void Run();

  // The frame being shown (-1 when not painting). Events may move it: the
  // run then goes on from there instead of the next frame.
  int ActiveFrame() const { return active_.load(); }
  void SetActiveFrame(int index) { active_.store(index); }
  int LoopCount() const { return loop_count_; }
  int LoopStart() const { return loop_start_; }
  bool FrameDrawn() const { return frame_drawn_; }

 private:
  TAnimationDriver& driver_;
  TRunOptions options_;
  std::atomic<int> active_{-1};
  int loop_count_ = 1;
  int loop_start_ = 0;
  bool frame_drawn_ = false;
};

}  // namespace rf::gif
