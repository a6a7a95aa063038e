// The animation painter: plays a picture of several frames on a canvas,
// waiting each frame's delay at the picture's speed, applying the disposal
// methods, repeating as the loop extension and the paint options say, and
// calling the picture's five painting events. A threaded painter runs in a
// thread of its own and does all drawing and all events on the GUI thread
// through the framework's synchronisation; an unthreaded one runs to its
// end inside the drawing call, dispatching its thread's messages between
// frames.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/gdi.h"
#include "framework/graphic.h"
#include "framework/thread.h"
#include "gif/anim/animationcompose.h"
#include "gif/anim/animationrun.h"
#include "gif/anim/animationtiming.h"
#include "gif/win/gifframedrawer_win.h"
#include "gif/win/gifpaintstate_win.h"

namespace rf::gif {

// Paint options: a 16-bit set, bit by bit.
enum TGIFPaintOption : std::uint16_t {
  poThreaded = 1 << 0,
  poTransparent = 1 << 1,
  poAnimate = 1 << 2,
  poRepeat = 1 << 3,
  poRepeatForever = 1 << 4,
  poCheckCanvasHandle = 1 << 5,
  poDirectPaint = 1 << 6,
  poClearOnRepeat = 1 << 7,
  poTile = 1 << 8,
  poDither = 1 << 9,
  poDitherOnPaletteDisplayOnly = 1 << 10,
};
inline constexpr std::uint16_t kDefaultPaintOptions = 0x060F;
// "No colour" of the framework: no animation background.
inline constexpr COLORREF kNoColor = 0x1FFFFFFF;

class TGIFPainter;
using TGIFPainterEvent = std::function<void(TGIFPainter&)>;

// The picture's painter settings (TGIFGraphic holds them as its own
// fields). A painter takes a copy when it is made: later changes reach only
// later painters.
struct TGIFPainterSettings {
  std::uint16_t PaintOptions = kDefaultPaintOptions;
  int AnimationSpeed = 100;  // per cent of the frames' own delays
  int ThreadPriority = THREAD_PRIORITY_NORMAL;
  COLORREF AnimationBackground = kNoColor;
  TGIFPainterEvent OnPaintStart;
  TGIFPainterEvent OnFrameBegin;
  TGIFPainterEvent OnFrameEnd;
  TGIFPainterEvent OnPassRepeat;
  TGIFPainterEvent OnPaintEnd;
};

// The paint state's interface comes first so that its calls need no
// adjusting thunks.
class TGIFPainter : public TGIFPaintStateMember,
                    public fw::Thread,
                    private TAnimationDriver,
                    private TComposeSurfaces {
 public:
  // Starts a painter for the drawer's picture on the canvas's rectangle,
  // listed in state. Answers the painter of a threaded run, still
  // suspended: the caller resumes it; it frees itself when it ends. Answers
  // nullptr when there is nothing to paint, or after running an unthreaded
  // painter to its end.
  static TGIFPainter* Start(TGIFFrameDrawer& drawer, TGIFPaintState& state,
                            const TGIFPainterSettings& settings, const fw::Canvas& canvas,
                            const RECT& rect);

  // The picture's frame drawing, or nullptr once the picture has gone away
  // (or let the painter go).
  TGIFFrameDrawer* Drawer() const { return drawer_; }
  HDC CanvasHandle() const { return canvas_.Handle(); }
  const RECT& Rect() const { return rect_; }
  std::uint16_t PaintOptions() const { return options_; }
  int AnimationSpeed() const { return speed_; }
  bool Threaded() const override { return (options_ & poThreaded) != 0; }
  bool Paints(HDC dc, const RECT& rect) const override;
  // Which buffers this run made.
  bool HasWorkBuffer() const override { return static_cast<bool>(work_); }
  COLORREF BackgroundColor() const { return background_; }

  // The frame being shown, -1 when not painting. An event that moves it
  // makes the run go on from there.
  int ActiveImage() const { return run_.ActiveFrame(); }
  void SetActiveImage(int index) { run_.SetActiveFrame(index); }
  int LoopCount() const { return run_.LoopCount(); }
  int LoopStart() const { return run_.LoopStart(); }
  bool FrameDrawn() const { return frame_drawn_; }

  // Tells the painter to end; a threaded one is woken (and started, if it
  // never was) so that it ends at once rather than after its frame delay.
  void Stop() override;
  // The picture goes away first: the painter forgets it and its events.
  void Detach() override;
  void ForgetEvents() override;

  TGIFPainterEvent OnPaintStart;
  TGIFPainterEvent OnFrameBegin;
  TGIFPainterEvent OnFrameEnd;
  TGIFPainterEvent OnPassRepeat;
  TGIFPainterEvent OnPaintEnd;

 protected:
  void Execute() override;
  // The end-of-run handler: leaves the picture's list and frees the buffers.
  void DoTerminate() override;

 private:
  TGIFPainter(TGIFFrameDrawer& drawer, TGIFPaintState& state, const TGIFPainterSettings& settings,
              const fw::Canvas& canvas, const RECT& rect, std::uint16_t options);
  ~TGIFPainter() override;

  // Runs the call on the GUI thread (threaded) or here; false when it could
  // not be run there.
  template <typename F>
  void OnGui(F&& call);

  // TAnimationDriver
  bool Terminated() const override { return fw::Thread::Terminated(); }
  bool PrepareFrame(int index, TFrameStep& step) override;
  void StartClock() override;
  void Wait(int units) override;
  void Event(TPaintEvent event) override;
  bool DrawFrame(int index, int disposal, int previous_disposal) override;
  // TComposeSurfaces
  void DrawFrame(TComposeTarget target, int frame) override;
  void Present(TComposeTarget from) override;
  void CopyWorkToPrevious() override;
  void RestoreBackground(int frame) override;

  void DispatchThreadMessages();
  void FreeResources();

  TGIFFrameDrawer* drawer_;
  TGIFPaintState* state_;
  fw::Canvas canvas_;
  RECT rect_;
  std::uint16_t options_;
  int speed_;
  HDC checked_dc_ = nullptr;
  HANDLE wake_ = nullptr;
  COLORREF background_ = 0;
  fw::UniqueBrush background_brush_;
  fw::MemoryBitmap work_, previous_, saved_;
  TAnimationRun run_;
  TAnimationClock clock_{0};
  bool frame_drawn_ = false;
};

}  // namespace rf::gif
