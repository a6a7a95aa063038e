// What a picture keeps for its animation painters: the list of painters
// under the picture's one lock, the drawing painter (started by the last
// drawing call), and the buffer bitmap that painters paint into unless they
// paint directly. Destroying it (the picture is cleared or freed) stops
// every painter first.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/gdi.h"

namespace rf::gif {

// What the paint state asks of the painters in its list (TGIFPainter), so
// that it needs to know no more of them.
class TGIFPaintStateMember {
 public:
  // Tells the painter to end; a threaded one is woken.
  virtual void Stop() = 0;
  // The picture goes away first: the painter forgets it and its events.
  virtual void Detach() = 0;
  virtual bool Threaded() const = 0;
  // The picture is going: the painter calls no more events.
  virtual void ForgetEvents() = 0;
  // The painter draws on this DC's rectangle.
  virtual bool Paints(HDC dc, const RECT& rect) const = 0;

 protected:
  ~TGIFPaintStateMember() = default;
};

class TGIFPaintState {
 public:
  TGIFPaintState();
  ~TGIFPaintState();
  TGIFPaintState(const TGIFPaintState&) = delete;
  TGIFPaintState& operator=(const TGIFPaintState&) = delete;

  // The picture's lock: re-entrant for the thread that holds it. Painter
  // threads never take it; what they do on the GUI thread may.
  void Lock() { EnterCriticalSection(&lock_); }
  void Unlock() { LeaveCriticalSection(&lock_); }
  class Scope {
   public:
    explicit Scope(TGIFPaintState& state) : state_(state) { state_.Lock(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope() { state_.Unlock(); }

   private:
    TGIFPaintState& state_;
  };

  // Under the lock. Adding a painter that is in the list does nothing.
  void Add(TGIFPaintStateMember* painter);
  void Remove(TGIFPaintStateMember* painter);
  bool Contains(const TGIFPaintStateMember* painter) const;
  const std::vector<TGIFPaintStateMember*>& Painters() const { return painters_; }
  TGIFPaintStateMember* DrawingPainter() const { return drawing_painter_; }
  void SetDrawingPainter(TGIFPaintStateMember* painter) { drawing_painter_ = painter; }

  // The buffer bitmap (logical screen size) selected into a memory DC with
  // a copy of the picture palette.
  bool HasBuffer() const { return static_cast<bool>(buffer_); }
  HDC BufferDC() const { return buffer_.dc(); }
  int BufferWidth() const { return buffer_w_; }
  int BufferHeight() const { return buffer_h_; }
  void MakeBuffer(HDC compatible_with, int width, int height, HPALETTE palette);
  // Tells the drawing painter to stop (without waiting) and frees the buffer.
  void DropBuffer();

  // Stops every painter and waits for the threaded ones, dispatching their
  // calls to the GUI thread meanwhile. Painters that have not ended within
  // kStopTimeoutMs are let go: they no longer refer to the picture and end
  // on their own. Events are not called for painters stopped this way.
  void StopAll();
  // Stops the drawing painter and waits for it as above; false when a quit
  // message is waiting (it stays in the queue). Then frees the buffer.
  bool StopDrawingPainterAndWait();

  // Set while the state exists; lets a drawing call notice that a painter
  // run inside it (which dispatches messages) saw the picture cleared.
  std::weak_ptr<int> AliveToken() const { return alive_; }

  static constexpr DWORD kStopTimeoutMs = 5000;

 private:
  void FreeBuffer();
  void Detach(TGIFPaintStateMember* painter);

  CRITICAL_SECTION lock_;
  std::vector<TGIFPaintStateMember*> painters_;
  TGIFPaintStateMember* drawing_painter_ = nullptr;
  // Declared in this order so that the palette is selected out of the DC
  // before the DC and the palette go.
  fw::MemoryBitmap buffer_;
  fw::UniquePalette buffer_palette_;
  std::unique_ptr<fw::PaletteScope> buffer_palette_selected_;
  int buffer_w_ = 0;
  int buffer_h_ = 0;
  std::shared_ptr<int> alive_ = std::make_shared<int>(1);
};

}  // namespace rf::gif
