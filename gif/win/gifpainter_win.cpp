#include "gif/win/gifpainter_win.h"

#include <mmsystem.h>

#include <algorithm>
#include <utility>

#include "framework/thread_sync.h"

namespace rf::gif {

namespace {

RECT ToRECT(const TGIFRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// Selects a palette (or the default one) into a DC and realizes it.
class RealizedPalette {
 public:
  RealizedPalette(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette == nullptr) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    old_ = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  RealizedPalette(const RealizedPalette&) = delete;
  RealizedPalette& operator=(const RealizedPalette&) = delete;
  ~RealizedPalette() {
    if (old_ != nullptr) SelectPalette(dc_, old_, FALSE);
  }

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

// Copies a bitmap to the destination rectangle, stretched or tiled at its
// own size.
void CopyPicture(HDC dst, const RECT& rect, HDC src, int w, int h, bool tiled) {
  if (w <= 0 || h <= 0) return;
  if (tiled) {
    for (const TGIFRect& t : TileRects({rect.left, rect.top, rect.right, rect.bottom}, w, h)) {
      BitBlt(dst, t.left, t.top, t.Width(), t.Height(), src, 0, 0, SRCCOPY);
    }
    return;
  }
  const int old_mode = SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, src, 0, 0, w,
             h, SRCCOPY);
  if (old_mode != 0) SetStretchBltMode(dst, old_mode);
}

}  // namespace

// ---- the picture's painter list and buffer ----

TGIFPaintState::TGIFPaintState() {
  InitializeCriticalSection(&lock_);
}

TGIFPaintState::~TGIFPaintState() {
  alive_.reset();
  StopAll();
  {
    // Unthreaded painters still running further up the stack, and threaded
    // ones that did not end in time, forget the picture.
    Scope lock(*this);
    for (TGIFPainter* painter : painters_) painter->Detach();
    painters_.clear();
    drawing_painter_ = nullptr;
  }
  FreeBuffer();
  DeleteCriticalSection(&lock_);
}

void TGIFPaintState::Add(TGIFPainter* painter) {
  Scope lock(*this);
  if (!Contains(painter)) painters_.push_back(painter);
}

void TGIFPaintState::Remove(TGIFPainter* painter) {
  Scope lock(*this);
  painters_.erase(std::remove(painters_.begin(), painters_.end(), painter), painters_.end());
  if (drawing_painter_ == painter) drawing_painter_ = nullptr;
}

bool TGIFPaintState::Contains(const TGIFPainter* painter) const {
  return std::find(painters_.begin(), painters_.end(), painter) != painters_.end();
}

void TGIFPaintState::Detach(TGIFPainter* painter) {
  painter->Detach();
  Remove(painter);
}

void TGIFPaintState::MakeBuffer(HDC compatible_with, int width, int height, HPALETTE palette) {
  FreeBuffer();
  fw::UniqueDC dc = fw::MakeMemoryDC(compatible_with);
  fw::UniqueBitmap bitmap(CreateCompatibleBitmap(compatible_with, width, height));
  if (!bitmap) throw fw::EOutOfResources();
  old_bitmap_ = SelectObject(dc.get(), bitmap.get());
  if (palette != nullptr) {
    const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(palette, 0, count, log->palPalEntry);
    buffer_palette_.reset(CreatePalette(log));
    if (buffer_palette_) {
      old_palette_ = SelectPalette(dc.get(), buffer_palette_.get(), FALSE);
      RealizePalette(dc.get());
    }
  }
  buffer_dc_ = std::move(dc);
  buffer_ = std::move(bitmap);
  buffer_w_ = width;
  buffer_h_ = height;
}

void TGIFPaintState::FreeBuffer() {
  if (buffer_dc_) {
    if (old_palette_ != nullptr) SelectPalette(buffer_dc_.get(), old_palette_, FALSE);
    if (old_bitmap_ != nullptr) SelectObject(buffer_dc_.get(), old_bitmap_);
  }
  old_palette_ = nullptr;
  old_bitmap_ = nullptr;
  buffer_dc_.reset();
  buffer_.reset();
  buffer_palette_.reset();
  buffer_w_ = buffer_h_ = 0;
}

void TGIFPaintState::DropBuffer() {
  {
    Scope lock(*this);
    if (drawing_painter_ != nullptr) drawing_painter_->Stop();
  }
  FreeBuffer();
}

bool TGIFPaintState::StopDrawingPainterAndWait() {
  const DWORD start = GetTickCount();
  for (;;) {
    Lock();
    TGIFPainter* painter = drawing_painter_;
    if (painter == nullptr) {
      Unlock();
      break;
    }
    painter->Stop();
    if (!painter->Threaded()) {
      Unlock();
      break;
    }
    if (GetTickCount() - start > kStopTimeoutMs || !fw::IsSyncThread()) {
      // It cannot reach this thread, or did not end in time: let it go.
      Detach(painter);
      Unlock();
      break;
    }
    Unlock();
    if (!fw::WaitAndDispatchSyncMessages(10)) return false;
  }
  FreeBuffer();
  return true;
}

void TGIFPaintState::StopAll() {
  const DWORD start = GetTickCount();
  for (;;) {
    Lock();
    if (painters_.empty()) {
      Unlock();
      break;
    }
    int threaded = 0;
    for (TGIFPainter* painter : painters_) {
      // The picture is going: nothing of it is drawn or reported any more.
      painter->OnPaintStart = painter->OnFrameBegin = painter->OnFrameEnd = nullptr;
      painter->OnPassRepeat = painter->OnPaintEnd = nullptr;
      painter->Stop();
      if (painter->Threaded()) ++threaded;
    }
    if (threaded == 0) {
      Unlock();
      break;
    }
    if (GetTickCount() - start > kStopTimeoutMs || !fw::IsSyncThread()) {
      std::vector<TGIFPainter*> left;
      for (TGIFPainter* painter : painters_)
        if (painter->Threaded()) left.push_back(painter);
      for (TGIFPainter* painter : left) Detach(painter);
      Unlock();
      break;
    }
    Unlock();
    // A waiting quit message does not stop this wait: the painters were
    // woken and end within their next call to this thread.
    fw::WaitAndDispatchSyncMessages(10);
  }
  FreeBuffer();
}

// ---- the painter ----

void TGIFPainter::MemorySurface::Make(HDC compatible_with, int w, int h) {
  dc = fw::MakeMemoryDC(compatible_with);
  bitmap.reset(CreateCompatibleBitmap(compatible_with, w, h));
  if (!bitmap) throw fw::EOutOfResources();
  old = SelectObject(dc.get(), bitmap.get());
}

void TGIFPainter::MemorySurface::Free() {
  if (dc && old != nullptr) SelectObject(dc.get(), old);
  old = nullptr;
  dc.reset();
  bitmap.reset();
}

TGIFPainter::TGIFPainter(TGIFGraphic& image, TGIFPaintState& state, const fw::Canvas& canvas,
                         const RECT& rect, std::uint16_t options)
    : image_(&image),
      state_(&state),
      canvas_(canvas),
      rect_(rect),
      options_(options),
      speed_(image.AnimationSpeed),
      run_(*this, TRunOptions{(options & poThreaded) != 0, (options & poAnimate) != 0,
                              (options & poRepeat) != 0, (options & poRepeatForever) != 0}) {
  const TGIFImage& picture = image.Image();
  if ((options & poThreaded) != 0 && (options & poAnimate) != 0 && picture.Images().Count() > 1 &&
      speed_ >= 0) {
    wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (wake_ == nullptr) throw fw::EOutOfResources();
  }
  try {
    if (image.AnimationBackground != kNoColor) {
      background_ = image.AnimationBackground;
    } else if (picture.GlobalColorMap().Empty()) {
      background_ = GetSysColor(COLOR_WINDOW);
    } else {
      background_ = image.Image().BackgroundColor();
    }
    background_brush_.reset(CreateSolidBrush(background_));
    const TBufferPlan plan = PlanBuffers(DisposalSet(picture, (options & poClearOnRepeat) != 0),
                                         (options & poTransparent) != 0);
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    HDC dst = canvas.Handle();
    if (plan.saved_background) {
      saved_.Make(dst, w, h);
      BitBlt(saved_.dc.get(), 0, 0, w, h, dst, rect.left, rect.top, SRCCOPY);
    }
    if (plan.work_buffers) {
      work_.Make(dst, w, h);
      previous_.Make(dst, w, h);
      BitBlt(work_.dc.get(), 0, 0, w, h, dst, rect.left, rect.top, SRCCOPY);
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
  work_.Free();
  previous_.Free();
  saved_.Free();
  background_brush_.reset();
  if (wake_ != nullptr) CloseHandle(std::exchange(wake_, nullptr));
}

TGIFPainter* TGIFPainter::Start(TGIFGraphic& image, const fw::Canvas& canvas, const RECT& rect,
                                std::uint16_t options) {
  if (image.Empty() || rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return nullptr;
  if (image.Image().Images().Count() == 1)
    options &= static_cast<std::uint16_t>(~(poThreaded | poAnimate));
  TGIFPaintState& state = image.ImageDrawing().paint;
  auto* painter = new TGIFPainter(image, state, canvas, rect, options);
  state.Add(painter);
  painter->OnPaintStart = image.OnPaintStart;
  painter->OnFrameBegin = image.OnFrameBegin;
  painter->OnFrameEnd = image.OnFrameEnd;
  painter->OnPassRepeat = image.OnPassRepeat;
  painter->OnPaintEnd = image.OnPaintEnd;
  if (painter->Threaded()) {
    painter->SetPriority(image.ThreadPriority);
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

void TGIFPainter::Detach() {
  image_ = nullptr;
  state_ = nullptr;
  OnPaintStart = OnFrameBegin = OnFrameEnd = OnPassRepeat = OnPaintEnd = nullptr;
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
  image_ = nullptr;
  work_.Free();
  previous_.Free();
  saved_.Free();
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
    if (image_ == nullptr || Terminated()) return;
    TGIFImageList& frames = image_->Image().Images();
    if (index < 0 || static_cast<std::size_t>(index) >= frames.Count()) return;
    TGIFSubImage& frame = frames[static_cast<std::size_t>(index)];
    step = FrameStepOf(frame);
    // Made before the wait, so that rendering counts against the delay.
    if (!step.empty) image_->FrameBitmap(frame);
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
    if (image_ == nullptr || Terminated()) return;
    if (static_cast<std::size_t>(index) >= image_->Image().Images().Count()) return;
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
  TGIFSubImage& frame = image_->Image().Images()[static_cast<std::size_t>(index)];
  HDC dc = canvas_.Handle();
  RECT rect = rect_;
  const int w = rect_.right - rect_.left;
  const int h = rect_.bottom - rect_.top;
  if (target == TComposeTarget::Work) {
    dc = work_.dc.get();
    rect = RECT{0, 0, w, h};
  } else if (target == TComposeTarget::Previous) {
    dc = previous_.dc.get();
    rect = RECT{0, 0, w, h};
  }
  RealizedPalette palette(dc, image_->FramePalette(frame));
  fw::Canvas canvas(dc);
  image_->DrawFrame(frame, canvas, rect, (options_ & poTransparent) != 0, (options_ & poTile) != 0);
}

void TGIFPainter::Present(TComposeTarget from) {
  HDC src = from == TComposeTarget::Previous ? previous_.dc.get() : work_.dc.get();
  BitBlt(canvas_.Handle(), rect_.left, rect_.top, rect_.right - rect_.left,
         rect_.bottom - rect_.top, src, 0, 0, SRCCOPY);
}

void TGIFPainter::CopyWorkToPrevious() {
  BitBlt(previous_.dc.get(), 0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top,
         work_.dc.get(), 0, 0, SRCCOPY);
}

void TGIFPainter::RestoreBackground(int index) {
  if (!work_.dc) return;
  const TGIFSubImage& frame = image_->Image().Images()[static_cast<std::size_t>(index)];
  const TGIFRect whole{0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
  std::vector<TGIFRect> areas;
  if ((options_ & poTile) != 0) {
    areas = TileRects(whole, frame.Width(), frame.Height());
  } else {
    areas.push_back(PlaceFrame(whole, image_->Width(), image_->Height(), frame.Left(), frame.Top(),
                               frame.Width(), frame.Height()));
  }
  for (const TGIFRect& area : areas) {
    if ((options_ & poTransparent) != 0 && saved_.dc) {
      BitBlt(work_.dc.get(), area.left, area.top, area.Width(), area.Height(), saved_.dc.get(),
             area.left, area.top, SRCCOPY);
    } else {
      const RECT r = ToRECT(area);
      FillRect(work_.dc.get(), &r, background_brush_.get());
    }
  }
}

// ---- the drawing entry ----

void DrawAnimatedPicture(TGIFGraphic& image, fw::Canvas& canvas, const RECT& rect) {
  TGIFPaintState& state = image.ImageDrawing().paint;
  const std::uint16_t options = image.PaintOptions;
  const bool direct = (options & poDirectPaint) != 0;
  const bool tiled = (options & poTile) != 0;
  if (state.HasBuffer() && !direct) {
    CopyPicture(canvas.Handle(), rect, state.BufferDC(), state.BufferWidth(), state.BufferHeight(),
                tiled);
    return;
  }
  const std::weak_ptr<int> alive = state.AliveToken();
  // Held until the first frame is shown. Not released if the state went
  // away meanwhile (an unthreaded run dispatches messages).
  struct Hold {
    TGIFPaintState& state;
    const std::weak_ptr<int>& alive;
    ~Hold() {
      if (!alive.expired()) state.Unlock();
    }
  };
  state.Lock();
  const Hold hold{state, alive};
  if (TGIFPainter* current = state.DrawingPainter()) {
    if (current->CanvasHandle() == canvas.Handle() && EqualRect(&current->Rect(), &rect)) return;
  }
  if (!state.StopDrawingPainterAndWait()) return;

  fw::Canvas target = canvas;
  RECT target_rect = rect;
  if (!direct) {
    state.MakeBuffer(canvas.Handle(), image.Width(), image.Height(), image.Palette());
    const int old_mode = SetStretchBltMode(state.BufferDC(), COLORONCOLOR);
    StretchBlt(state.BufferDC(), 0, 0, image.Width(), image.Height(), canvas.Handle(), rect.left,
               rect.top, rect.right - rect.left, rect.bottom - rect.top, SRCCOPY);
    if (old_mode != 0) SetStretchBltMode(state.BufferDC(), old_mode);
    target = fw::Canvas(state.BufferDC());
    target.SetOnChange([&image] {
      if (image.OnChange) image.OnChange();
    });
    target_rect = RECT{0, 0, image.Width(), image.Height()};
  }
  TGIFPainter* painter = TGIFPainter::Start(image, target, target_rect, options);
  // An unthreaded run dispatched messages: the picture may have been
  // cleared meanwhile.
  if (alive.expired()) return;
  if (painter == nullptr) {
    // An unthreaded run painted into the buffer; show where it ended.
    if (!direct && state.HasBuffer()) {
      CopyPicture(canvas.Handle(), rect, state.BufferDC(), state.BufferWidth(),
                  state.BufferHeight(), tiled);
    }
    return;
  }
  state.SetDrawingPainter(painter);
  painter->Resume();
  if (direct) return;
  // The painter draws through this thread: serve it until its first frame
  // is in the buffer (or it ended). A painter that cannot reach this thread
  // (the window belongs to another) is not waited for beyond the bound.
  const DWORD start = GetTickCount();
  while (state.Contains(painter) && !painter->FrameDrawn()) {
    if (!fw::WaitAndDispatchSyncMessages(10)) return;
    if (GetTickCount() - start > TGIFPaintState::kStopTimeoutMs) break;
  }
  if (state.HasBuffer()) {
    CopyPicture(canvas.Handle(), rect, state.BufferDC(), state.BufferWidth(), state.BufferHeight(),
                tiled);
  }
}

}  // namespace rf::gif
