#include "gif/win/gifpaintstate_win.h"

#include <algorithm>

#include "framework/thread_sync.h"

namespace rf::gif {

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
    for (TGIFPaintStateMember* painter : painters_) painter->Detach();
    painters_.clear();
    drawing_painter_ = nullptr;
  }
  FreeBuffer();
  DeleteCriticalSection(&lock_);
}

void TGIFPaintState::Add(TGIFPaintStateMember* painter) {
  Scope lock(*this);
  if (!Contains(painter)) painters_.push_back(painter);
}

void TGIFPaintState::Remove(TGIFPaintStateMember* painter) {
  Scope lock(*this);
  painters_.erase(std::remove(painters_.begin(), painters_.end(), painter), painters_.end());
  if (drawing_painter_ == painter) drawing_painter_ = nullptr;
}

bool TGIFPaintState::Contains(const TGIFPaintStateMember* painter) const {
  return std::find(painters_.begin(), painters_.end(), painter) != painters_.end();
}

void TGIFPaintState::Detach(TGIFPaintStateMember* painter) {
  painter->Detach();
  Remove(painter);
}

void TGIFPaintState::MakeBuffer(HDC compatible_with, int width, int height, HPALETTE palette) {
  FreeBuffer();
  fw::MemoryBitmap buffer(compatible_with, width, height);
  if (palette != nullptr) {
    // A copy: the picture may replace its palette while the buffer lives.
    buffer_palette_ = fw::MakePalette(fw::PaletteEntries(palette));
    if (buffer_palette_) {
      buffer_palette_selected_ =
          std::make_unique<fw::PaletteScope>(buffer.dc(), buffer_palette_.get());
    }
  }
  buffer_ = std::move(buffer);
  buffer_w_ = width;
  buffer_h_ = height;
}

void TGIFPaintState::FreeBuffer() {
  buffer_palette_selected_.reset();
  buffer_palette_.reset();
  buffer_.reset();
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
    TGIFPaintStateMember* painter = drawing_painter_;
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
    for (TGIFPaintStateMember* painter : painters_) {
      // The picture is going: nothing of it is drawn or reported any more.
      painter->ForgetEvents();
      painter->Stop();
      if (painter->Threaded()) ++threaded;
    }
    if (threaded == 0) {
      Unlock();
      break;
    }
    if (GetTickCount() - start > kStopTimeoutMs || !fw::IsSyncThread()) {
      std::vector<TGIFPaintStateMember*> left;
      for (TGIFPaintStateMember* painter : painters_)
        if (painter->Threaded()) left.push_back(painter);
      for (TGIFPaintStateMember* painter : left) Detach(painter);
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

}  // namespace rf::gif
