#include "gif/win/gifgraphic_win.h"

#include <memory>

#include "framework/thread_sync.h"
#include "gif/base/geometry.h"
#include "gif/base/gifmessages.h"
#include "gif/win/bitmapimport_win.h"

namespace rf::gif {

namespace {

// The class name stored pictures carry (see RegisterGIFFormat).
constexpr const char* kGIFClassName = "TGIFImage";

UINT g_clipboard_format = 0;
bool g_palette_display = false;

// Clears a flag on every way out of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;
  ~FlagScope() { flag_ = false; }

 private:
  bool& flag_;
};

// Copies a bitmap to the destination rectangle, stretched or tiled at its
// own size.
void CopyPicture(HDC dst, const RECT& rect, HDC src, int w, int h, bool tiled) {
  if (w <= 0 || h <= 0) return;
  if (tiled) {
    for (const TGIFRect& t : TileRects(ToGIFRect(rect), w, h)) {
      BitBlt(dst, t.left, t.top, t.Width(), t.Height(), src, 0, 0, SRCCOPY);
    }
    return;
  }
  fw::StretchModeScope mode(dst);
  StretchBlt(dst, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, src, 0, 0, w,
             h, SRCCOPY);
}

}  // namespace

void TGIFImageDrawing::PaletteChanged() {
  drawer.DropPalette();
  paint.DropBuffer();
  drawer.DropFramePalettes();
}

TGIFGraphic::TGIFGraphic() = default;

TGIFGraphic::~TGIFGraphic() {
  // Caches first: they hold system objects made from the frames.
  for (const auto& frame : image_.Images()) frame->FreeDrawCache();
  image_.FreeDrawCache();
}

TGIFImageDrawing& TGIFGraphic::ImageDrawing() {
  auto* drawing = dynamic_cast<TGIFImageDrawing*>(image_.DrawCache());
  if (drawing == nullptr) {
    image_.SetDrawCache(std::make_unique<TGIFImageDrawing>(image_, [this] { return DoDither(); }));
    drawing = static_cast<TGIFImageDrawing*>(image_.DrawCache());
  }
  return *drawing;
}

bool TGIFGraphic::DoDither() const {
  return (PaintOptions & poDither) != 0 &&
         ((PaintOptions & poDitherOnPaletteDisplayOnly) == 0 || PaletteDisplay());
}

HPALETTE TGIFGraphic::Palette() {
  return Drawer().Palette();
}

void TGIFGraphic::SetPalette(HPALETTE palette) {
  TGIFImageDrawing& drawing = ImageDrawing();
  drawing.drawer.SetPalette(palette);
  drawing.paint.DropBuffer();
  drawing.drawer.DropFramePalettes();
}

void TGIFGraphic::Draw(fw::Canvas& canvas, const RECT& rect) {
  if (drawing_ || image_.Empty()) return;
  FlagScope busy(drawing_);
  if (image_.Images().Count() == 1 || (PaintOptions & poAnimate) == 0) {
    Drawer().DrawFrame(image_.Images()[0], canvas, rect, (PaintOptions & poTransparent) != 0,
                       (PaintOptions & poTile) != 0);
  } else {
    DrawAnimated(canvas, rect);
  }
}

// Starts, reuses or copies from a painter as the paint options say.
void TGIFGraphic::DrawAnimated(fw::Canvas& canvas, const RECT& rect) {
  TGIFImageDrawing& drawing = ImageDrawing();
  TGIFPaintState& state = drawing.paint;
  const std::uint16_t options = PaintOptions;
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
  if (TGIFPaintStateMember* current = state.DrawingPainter()) {
    if (current->Paints(canvas.Handle(), rect)) return;
  }
  if (!state.StopDrawingPainterAndWait()) return;

  fw::Canvas target = canvas;
  RECT target_rect = rect;
  if (!direct) {
    state.MakeBuffer(canvas.Handle(), Width(), Height(), Palette());
    {
      fw::StretchModeScope mode(state.BufferDC());
      StretchBlt(state.BufferDC(), 0, 0, Width(), Height(), canvas.Handle(), rect.left, rect.top,
                 rect.right - rect.left, rect.bottom - rect.top, SRCCOPY);
    }
    target = fw::Canvas(state.BufferDC());
    target.SetOnChange([this] {
      if (OnChange) OnChange();
    });
    target_rect = RECT{0, 0, Width(), Height()};
  }
  TGIFPainter* painter =
      TGIFPainter::Start(drawing.drawer, state, PainterSettings(), target, target_rect);
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

void TGIFGraphic::LoadFromBytes(std::span<const std::uint8_t> data) {
  image_.LoadFromBytes(data);
}

void TGIFGraphic::LoadFromClipboardFormat(UINT format, HANDLE data) {
  if (format != 0 && format == g_clipboard_format) {
    const SIZE_T size = GlobalSize(data);
    const void* p = GlobalLock(data);
    if (p == nullptr) throw GIFException(msg::kUnsupportedClipboardFormat);
    try {
      image_.LoadFromBytes({static_cast<const std::uint8_t*>(p), size});
    } catch (...) {
      GlobalUnlock(data);
      throw;
    }
    GlobalUnlock(data);
  } else if (format == CF_BITMAP) {
    LoadBitmapFromClipboard(image_);
  } else {
    throw GIFException(msg::kUnsupportedClipboardFormat);
  }
}

void RegisterGIFFormat() {
  // Stored pictures (the module's picture resources, saved picture
  // properties) name their class "TGIFImage", the picture's own class: the
  // drawing class registers under that name so that they find it.
  fw::RegisterGraphicClass(kGIFClassName, [] { return std::make_unique<TGIFGraphic>(); });
  fw::RegisterFileFormat("GIF", "GIF Image", kGIFClassName);
  g_clipboard_format = RegisterClipboardFormatA("GIF Image");
  try {
    fw::WindowDC screen(nullptr);
    g_palette_display =
        GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES) <= 8;
  } catch (const fw::EOutOfResources&) {
    // No screen to measure: drawing takes it for a true-colour one.
  }
}

void UnregisterGIFFormat() {
  fw::UnregisterGraphicClass(kGIFClassName);
  g_clipboard_format = 0;
}

UINT GIFClipboardFormat() {
  return g_clipboard_format;
}
bool PaletteDisplay() {
  return g_palette_display;
}

}  // namespace rf::gif
