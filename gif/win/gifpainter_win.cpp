#include "gif/win/gifpainter_win.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "framework/thread_sync.h"

namespace rf::gif {

// ---- the painter ----

TGIFPainter::TGIFPainter(TGIFFrameDrawer& drawer, TGIFPaintState& state,
                         const TGIFPainterSettings& settings, const fw::Canvas& canvas,
                         const RECT& rect, std::uint16_t options)
    : OnPaintStart(settings.OnPaintStart),
      OnFrameBegin(settings.OnFrameBegin),
      OnFrameEnd(settings.OnFrameEnd),
      OnPassRepeat(settings.OnPassRepeat),
      OnPaintEnd(settings.OnPaintEnd),
      drawer_(&drawer),
      state_(&state),
      canvas_(canvas),
      rect_(rect),
      options_(options),
      speed_(settings.AnimationSpeed),
      run_(*this, TRunOptions{(options & poThreaded) != 0, (options & poAnimate) != 0,
                              (options & poRepeat) != 0, (options & poRepeatForever) != 0}) {
  TGIFImage& picture = drawer.Image();
  if ((options & poThreaded) != 0 && (options & poAnimate) != 0 && picture.Images().Count() > 1 &&
      speed_ >= 0) {
    wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (wake_ == nullptr) throw fw::EOutOfResources();
  }
  try {
    if (settings.AnimationBackground != kNoColor) {
      background_ = settings.AnimationBackground;
    } else if (picture.GlobalColorMap().Empty()) {
      background_ = GetSysColor(COLOR_WINDOW);
    } else {
      background_ = picture.BackgroundColor();
    }
    background_brush_.reset(CreateSolidBrush(background_));
    const TBufferPlan plan = PlanBuffers(DisposalSet(picture, (options & poClearOnRepeat) != 0),
                                         (options & poTransparent) != 0);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    HDC dst = canvas.Handle();
    if (plan.saved_background) {
      saved_ = fw::MemoryBitmap(dst, w, h);
      BitBlt(saved_.dc(), 0, 0, w, h, dst, rect.left, rect.top, SRCCOPY);
    }
    if (plan.work_buffers) {
      work_ = fw::MemoryBitmap(dst, w, h);
      previous_ = fw::MemoryBitmap(dst, w, h);
      BitBlt(work_.dc(), 0, 0, w, h, dst, rect.left, rect.top, SRCCOPY);
    }
  } catch (...) {
    FreeResources();
    throw;
  }
}

TGIFPainter::~TGIFPainter() {
  FreeResources();
}

void TGIFPainter::FreeResources() {
  work_.reset();
  previous_.reset();
  saved_.reset();
  background_brush_.reset();
  if (wake_ != nullptr) CloseHandle(std::exchange(wake_, nullptr));
}

TGIFPainter* TGIFPainter::Start(TGIFFrameDrawer& drawer, TGIFPaintState& state,
                                const TGIFPainterSettings& settings, const fw::Canvas& canvas,
                                const RECT& rect) {
  const TGIFImage& image = drawer.Image();
  if (image.Empty() || rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return nullptr;
  std::uint16_t options = settings.PaintOptions;
  if (image.Images().Count() == 1) options &= static_cast<std::uint16_t>(~(poThreaded | poAnimate));
  auto* painter = new TGIFPainter(drawer, state, settings, canvas, rect, options);
  state.Add(painter);
  if (painter->Threaded()) {
    painter->SetPriority(settings.ThreadPriority);
    painter->FreeOnTerminate = true;
    return painter;
  }
  try {
    painter->Execute();
  } catch (...) {
    painter->DoTerminate();
    delete painter;
    throw;
  }
  painter->DoTerminate();
  delete painter;
  return nullptr;
}

void TGIFPainter::Stop() {
  Terminate();
  if (Threaded()) {
    if (wake_ != nullptr) SetEvent(wake_);
    SetPriority(THREAD_PRIORITY_NORMAL);
    if (Suspended()) Resume();
  }
}

void TGIFPainter::ForgetEvents() {
  OnPaintStart = OnFrameBegin = OnFrameEnd = OnPassRepeat = OnPaintEnd = nullptr;
}

bool TGIFPainter::Paints(HDC dc, const RECT& rect) const {
  return CanvasHandle() == dc && EqualRect(&rect_, &rect);
}

void TGIFPainter::Detach() {
  drawer_ = nullptr;
  state_ = nullptr;
  ForgetEvents();
  canvas_.SetOnChange(nullptr);
  Terminate();
  if (wake_ != nullptr) SetEvent(wake_);
}

void TGIFPainter::Execute() {
  if ((options_ & poCheckCanvasHandle) != 0) checked_dc_ = canvas_.Handle();
  run_.Run();
}

void TGIFPainter::DoTerminate() {
  if (state_ != nullptr) state_->Remove(this);
  state_ = nullptr;
  drawer_ = nullptr;
  work_.reset();
  previous_.reset();
  saved_.reset();
}

template <typename F>
void TGIFPainter::OnGui(F&& call) {
  if (!Threaded()) {
    call();
  } else if (!fw::Thread::Synchronize(call)) {
    Terminate();  // no GUI thread serves calls any more
  }
}

bool TGIFPainter::PrepareFrame(int index, TFrameStep& step) {
  bool ok = false;
  OnGui([&] {
    if (drawer_ == nullptr || Terminated()) return;
    TGIFImageList& frames = drawer_->Image().Images();
    if (index < 0 || static_cast<std::size_t>(index) >= frames.Count()) return;
    TGIFSubImage& frame = frames[static_cast<std::size_t>(index)];
    step = FrameStepOf(frame);
    // Made before the wait, so that rendering counts against the delay.
    if (!step.empty) drawer_->FrameBitmap(frame);
    ok = true;
  });
  return ok;
}

void TGIFPainter::StartClock() {
  clock_ = TAnimationClock(timeGetTime());
}

void TGIFPainter::Wait(int units) {
  const bool threaded = Threaded();
  const TWait wait = clock_.Next(units, speed_, threaded, timeGetTime());
  if (threaded) {
    DWORD ms;
    if (wait.kind == TWaitKind::Forever) {
      ms = INFINITE;
    } else if (wait.kind == TWaitKind::Timed && wait.ms > 0) {
      ms = static_cast<DWORD>(wait.ms);
    } else {
      return;
    }
    if (wake_ == nullptr) return;
    if (WaitForSingleObject(wake_, ms) == WAIT_OBJECT_0) clock_.Woken(timeGetTime());
    return;
  }
  std::int64_t remaining = std::max<std::int64_t>(1, wait.ms);
  while (remaining > 0 && !Terminated()) {
    const DWORD slice = static_cast<DWORD>(std::min<std::int64_t>(remaining, 100));
    const DWORD before = timeGetTime();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    DispatchThreadMessages();
    // Handling the messages counts against the delay too.
    remaining -= static_cast<std::int64_t>(timeGetTime() - before);
  }
}

void TGIFPainter::DispatchThreadMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The application is ending: leave the quit for its own loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      Terminate();
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void TGIFPainter::Event(TPaintEvent event) {
  OnGui([&] {
    TGIFPainterEvent* handler = nullptr;
    switch (event) {
      case TPaintEvent::PaintStart:
        handler = &OnPaintStart;
        break;
      case TPaintEvent::FrameBegin:
        handler = &OnFrameBegin;
        break;
      case TPaintEvent::FrameEnd:
        handler = &OnFrameEnd;
        break;
      case TPaintEvent::PassRepeat:
        handler = &OnPassRepeat;
        break;
      case TPaintEvent::PaintEnd:
        handler = &OnPaintEnd;
        break;
    }
    if (handler != nullptr && *handler) {
      const TGIFPainterEvent copy = *handler;  // the handler may detach the painter
      copy(*this);
    }
  });
}

bool TGIFPainter::DrawFrame(int index, int disposal, int previous_disposal) {
  bool drawn = false;
  OnGui([&] {
    if (drawer_ == nullptr || Terminated()) return;
    if (static_cast<std::size_t>(index) >= drawer_->Image().Images().Count()) return;
    if ((options_ & poCheckCanvasHandle) != 0 && GetObjectType(checked_dc_) == 0) {
      Terminate();  // the canvas's device context went away
      return;
    }
    ComposeFrame(*this, index, disposal, previous_disposal,
                 (options_ & poClearOnRepeat) != 0 && index == 0);
    frame_drawn_ = true;
    drawn = true;
    canvas_.Changed();
  });
  return drawn;
}

void TGIFPainter::DrawFrame(TComposeTarget target, int index) {
  TGIFSubImage& frame = drawer_->Image().Images()[static_cast<std::size_t>(index)];
  HDC dc = canvas_.Handle();
  RECT rect = rect_;
  const int w = rect_.right - rect_.left;
  const int h = rect_.bottom - rect_.top;
  if (target == TComposeTarget::Work) {
    dc = work_.dc();
    rect = RECT{0, 0, w, h};
  } else if (target == TComposeTarget::Previous) {
    dc = previous_.dc();
    rect = RECT{0, 0, w, h};
  }
  HPALETTE frame_palette = drawer_->FramePalette(frame);
  fw::PaletteScope palette(dc, frame_palette != nullptr ? frame_palette : fw::DefaultPalette());
  fw::Canvas canvas(dc);
  drawer_->DrawFrame(frame, canvas, rect, (options_ & poTransparent) != 0,
                     (options_ & poTile) != 0);
}

void TGIFPainter::Present(TComposeTarget from) {
  HDC src = from == TComposeTarget::Previous ? previous_.dc() : work_.dc();
  BitBlt(canvas_.Handle(), rect_.left, rect_.top, rect_.right - rect_.left,
         rect_.bottom - rect_.top, src, 0, 0, SRCCOPY);
}

void TGIFPainter::CopyWorkToPrevious() {
  BitBlt(previous_.dc(), 0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top, work_.dc(), 0, 0,
         SRCCOPY);
}

void TGIFPainter::RestoreBackground(int index) {
  if (!work_) return;
  const TGIFImage& image = drawer_->Image();
  const TGIFSubImage& frame = image.Images()[static_cast<std::size_t>(index)];
  const TGIFRect whole{0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
  std::vector<TGIFRect> areas;
  if ((options_ & poTile) != 0) {
    areas = TileRects(whole, frame.Width(), frame.Height());
  } else {
    areas.push_back(PlaceFrame(whole, image.Width(), image.Height(), frame.Left(), frame.Top(),
                               frame.Width(), frame.Height()));
  }
  for (const TGIFRect& area : areas) {
    if ((options_ & poTransparent) != 0 && saved_) {
      BitBlt(work_.dc(), area.left, area.top, area.Width(), area.Height(), saved_.dc(), area.left,
             area.top, SRCCOPY);
    } else {
      const RECT r = ToRECT(area);
      FillRect(work_.dc(), &r, background_brush_.get());
    }
  }
}

}  // namespace rf::gif
