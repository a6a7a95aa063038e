#include "gif/win/gifgraphic_win.h"
#include "gif/base/gifmessages.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gif/render/framerender.h"
#include "gif/win/bitmapimport_win.h"
#include "gif/win/gifpainter_win.h"

namespace rf::gif {

namespace {

// The class name stored pictures carry (see RegisterGIFFormat).
constexpr const char* kGIFClassName = "TGIFImage";
constexpr DWORD kDestinationCopy = 0x00AA0029;  // ROP "D": leave the destination

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

// Selects a palette into a DC for a scope.
class PaletteScope {
 public:
  PaletteScope(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette != nullptr) {
      old_ = SelectPalette(dc, palette, FALSE);
      RealizePalette(dc);
    }
  }
  PaletteScope(const PaletteScope&) = delete;
  PaletteScope& operator=(const PaletteScope&) = delete;
  ~PaletteScope() {
    if (old_ != nullptr) SelectPalette(dc_, old_, FALSE);
  }

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

// Stretching colour pictures keeps whole pixels rather than AND-ing them.
class StretchModeScope {
 public:
  explicit StretchModeScope(HDC dc) : dc_(dc), old_(SetStretchBltMode(dc, COLORONCOLOR)) {}
  StretchModeScope(const StretchModeScope&) = delete;
  StretchModeScope& operator=(const StretchModeScope&) = delete;
  ~StretchModeScope() {
    if (old_ != 0) SetStretchBltMode(dc_, old_);
  }

 private:
  HDC dc_;
  int old_;
};

Palette EntriesOf(HPALETTE palette) {
  Palette entries;
  if (palette == nullptr) return entries;
  const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
  std::vector<PALETTEENTRY> raw(count);
  if (count > 0) GetPaletteEntries(palette, 0, count, raw.data());
  for (const PALETTEENTRY& e : raw) entries.push_back({e.peRed, e.peGreen, e.peBlue, e.peFlags});
  return entries;
}

fw::UniqueBitmap BitmapFromBmp(std::vector<std::uint8_t>& bmp) {
  auto* info = reinterpret_cast<BITMAPINFO*>(bmp.data() + kBmpFileHeaderSize);
  void* bits = nullptr;
  fw::UniqueBitmap bitmap(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) throw fw::EOutOfResources();
  std::memcpy(bits, bmp.data() + kBmpBitsOffset, bmp.size() - kBmpBitsOffset);
  GdiFlush();
  return bitmap;
}

// Integer placement rounded to the nearest, as MulDiv does; a zero
// denominator (a screen of no size) leaves the value unscaled.
int Scale(int value, int numerator, int denominator) {
  if (denominator == 0) return value;
  return MulDiv(value, numerator, denominator);
}

}  // namespace

void TGIFFrameDrawing::PaletteChanged() {
  bitmap.reset();
  palette.reset();
  has_bitmap = false;
}

void TGIFImageDrawing::PaletteChanged() {
  palette.reset();
  paint.DropBuffer();
  DropFramePalettes();
}

void TGIFImageDrawing::DropFramePalettes() {
  for (const auto& frame : image_.Images()) {
    if (frame->ColorMap().Empty() && frame->DrawCache() != nullptr) {
      frame->DrawCache()->PaletteChanged();
    }
  }
}

fw::UniquePalette MakePaletteHandle(std::span<const PaletteEntry> entries) {
  if (entries.empty()) return fw::UniquePalette();
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * entries.size());
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    log->palPalEntry[i] = {entries[i].red, entries[i].green, entries[i].blue, entries[i].flags};
  }
  fw::UniquePalette palette(CreatePalette(log));
  if (!palette) throw fw::EOutOfResources();
  return palette;
}

void TransparentStretchBlt(HDC dst, const RECT& dst_rect, HDC src, const RECT& src_rect,
                           HDC mask_dc, HPALETTE palette) {
  const int dw = dst_rect.right - dst_rect.left;
  const int dh = dst_rect.bottom - dst_rect.top;
  const int sw = src_rect.right - src_rect.left;
  const int sh = src_rect.bottom - src_rect.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (dw == sw && dh == sh) {
    HBITMAP mask = static_cast<HBITMAP>(GetCurrentObject(mask_dc, OBJ_BITMAP));
    // Mask bit 1 keeps the destination, 0 copies the source.
    if (MaskBlt(dst, dst_rect.left, dst_rect.top, dw, dh, src, src_rect.left, src_rect.top, mask,
                src_rect.left, src_rect.top, MAKEROP4(kDestinationCopy, SRCCOPY))) {
      return;
    }
  }
  fw::UniqueBitmap color(CreateCompatibleBitmap(dst, sw, sh));
  fw::UniqueBitmap mono(CreateBitmap(sw, sh, 1, 1, nullptr));
  if (!color || !mono) throw fw::EOutOfResources();
  fw::UniqueDC color_dc = fw::MakeMemoryDC(dst);
  fw::UniqueDC mono_dc = fw::MakeMemoryDC(dst);
  fw::SelectScope color_sel(color_dc.get(), color.get());
  fw::SelectScope mono_sel(mono_dc.get(), mono.get());
  BitBlt(mono_dc.get(), 0, 0, sw, sh, mask_dc, src_rect.left, src_rect.top, NOTSRCCOPY);
  PaletteScope pal(color_dc.get(), palette != nullptr
                                       ? palette
                                       : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
  // Transparent pixels become black in the colour copy of the source.
  BitBlt(color_dc.get(), 0, 0, sw, sh, mono_dc.get(), 0, 0, SRCCOPY);
  BitBlt(color_dc.get(), 0, 0, sw, sh, src, src_rect.left, src_rect.top, SRCAND);
  const COLORREF old_text = SetTextColor(dst, RGB(0, 0, 0));
  const COLORREF old_back = SetBkColor(dst, RGB(255, 255, 255));
  StretchModeScope mode(dst);
  StretchBlt(dst, dst_rect.left, dst_rect.top, dw, dh, mask_dc, src_rect.left, src_rect.top, sw, sh,
             SRCAND);
  StretchBlt(dst, dst_rect.left, dst_rect.top, dw, dh, color_dc.get(), 0, 0, sw, sh, SRCPAINT);
  SetTextColor(dst, old_text);
  SetBkColor(dst, old_back);
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
    image_.SetDrawCache(std::make_unique<TGIFImageDrawing>(image_));
    drawing = static_cast<TGIFImageDrawing*>(image_.DrawCache());
  }
  return *drawing;
}

TGIFFrameDrawing& TGIFGraphic::FrameDrawing(TGIFSubImage& frame) {
  auto* drawing = dynamic_cast<TGIFFrameDrawing*>(frame.DrawCache());
  if (drawing == nullptr) {
    frame.SetDrawCache(std::make_unique<TGIFFrameDrawing>());
    drawing = static_cast<TGIFFrameDrawing*>(frame.DrawCache());
  }
  return *drawing;
}

bool TGIFGraphic::DoDither() const {
  return (PaintOptions & poDither) != 0 &&
         ((PaintOptions & poDitherOnPaletteDisplayOnly) == 0 || PaletteDisplay());
}

gif::Palette TGIFGraphic::PicturePaletteEntries() {
  return EntriesOf(Palette());
}

HPALETTE TGIFGraphic::Palette() {
  TGIFImageDrawing& drawing = ImageDrawing();
  if (!drawing.palette) drawing.palette = MakePaletteHandle(MakePicturePalette(image_, DoDither()));
  return drawing.palette.get();
}

void TGIFGraphic::SetPalette(HPALETTE palette) {
  TGIFImageDrawing& drawing = ImageDrawing();
  // The picture keeps a palette of its own; the caller's stays the caller's.
  drawing.palette = MakePaletteHandle(EntriesOf(palette));
  drawing.paint.DropBuffer();
  drawing.DropFramePalettes();
  drawing.palette_modified = true;
}

HPALETTE TGIFGraphic::FramePalette(TGIFSubImage& frame) {
  TGIFFrameDrawing& drawing = FrameDrawing(frame);
  if (!drawing.palette) {
    const bool dither = DoDither();
    if (dither || !frame.ColorMap().Empty()) {
      drawing.palette = MakePaletteHandle(MakeFramePalette(frame, dither, nullptr));
    } else {
      const gif::Palette picture = PicturePaletteEntries();
      drawing.palette = MakePaletteHandle(picture);
    }
  }
  return drawing.palette.get();
}

HBITMAP TGIFGraphic::FrameBitmap(TGIFSubImage& frame) {
  TGIFFrameDrawing& drawing = FrameDrawing(frame);
  if (drawing.has_bitmap) return drawing.bitmap.get();
  const gif::Palette entries = EntriesOf(FramePalette(frame));
  TFrameRendering rendering =
      RenderFrame(frame, entries, DoDither(), drawing.mask_needed, ImageDrawing().palette_modified);
  fw::UniqueBitmap bitmap;
  if (!rendering.bmp.empty()) bitmap = BitmapFromBmp(rendering.bmp);
  if (rendering.mask_tried) {
    fw::UniqueBitmap mask;
    if (!rendering.mask.empty()) {
      mask.reset(CreateBitmap(frame.Width(), frame.Height(), 1, 1, rendering.mask.data()));
      if (!mask) throw fw::EOutOfResources();
    }
    drawing.mask = std::move(mask);
    drawing.mask_needed = false;
  }
  drawing.bitmap = std::move(bitmap);
  drawing.has_bitmap = true;
  return drawing.bitmap.get();
}

HBITMAP TGIFGraphic::FrameMask(TGIFSubImage& frame) {
  TGIFFrameDrawing& drawing = FrameDrawing(frame);
  if (drawing.mask_needed) FrameBitmap(frame);
  return drawing.mask.get();
}

void TGIFGraphic::DrawFrame(TGIFSubImage& frame, fw::Canvas& canvas, const RECT& rect,
                            bool transparent, bool tiled) {
  HDC dst = canvas.Handle();
  RECT placed = rect;
  if (!tiled) {
    const int rw = rect.right - rect.left;
    const int rh = rect.bottom - rect.top;
    const int sw = Width() > 0 ? Width() : frame.Left() + frame.Width();
    const int sh = Height() > 0 ? Height() : frame.Top() + frame.Height();
    placed.left = rect.left + Scale(frame.Left(), rw, sw);
    placed.top = rect.top + Scale(frame.Top(), rh, sh);
    placed.right = rect.left + Scale(frame.Left() + frame.Width(), rw, sw);
    placed.bottom = rect.top + Scale(frame.Top() + frame.Height(), rh, sh);
  }
  HBITMAP bitmap = FrameBitmap(frame);
  if (bitmap == nullptr) return;
  const int fw_ = frame.Width();
  const int fh = frame.Height();
  HPALETTE palette = FramePalette(frame);
  fw::UniqueDC src = fw::MakeMemoryDC(dst);
  fw::SelectScope src_sel(src.get(), bitmap);
  PaletteScope src_pal(src.get(), palette);

  HBITMAP mask = transparent && frame.Transparent() ? FrameMask(frame) : nullptr;
  fw::UniqueDC mask_dc;
  std::unique_ptr<fw::SelectScope> mask_sel;
  if (mask != nullptr) {
    mask_dc = fw::MakeMemoryDC(dst);
    mask_sel = std::make_unique<fw::SelectScope>(mask_dc.get(), mask);
  }
  auto blit = [&](const RECT& to, const RECT& from) {
    if (mask != nullptr) {
      TransparentStretchBlt(dst, to, src.get(), from, mask_dc.get(), palette);
    } else {
      StretchModeScope mode(dst);
      StretchBlt(dst, to.left, to.top, to.right - to.left, to.bottom - to.top, src.get(), from.left,
                 from.top, from.right - from.left, from.bottom - from.top, SRCCOPY);
    }
  };
  if (tiled) {
    // Whole tiles from the top-left corner; the last row and column are cut
    // at the rectangle so nothing is drawn outside it.
    for (int y = rect.top; y < rect.bottom; y += fh) {
      for (int x = rect.left; x < rect.right; x += fw_) {
        const int w = std::min(fw_, static_cast<int>(rect.right - x));
        const int h = std::min(fh, static_cast<int>(rect.bottom - y));
        blit(RECT{x, y, x + w, y + h}, RECT{0, 0, w, h});
      }
    }
  } else {
    blit(placed, RECT{0, 0, fw_, fh});
  }
  if (mask != nullptr) canvas.Changed();
}

void TGIFGraphic::Draw(fw::Canvas& canvas, const RECT& rect) {
  if (drawing_ || image_.Empty()) return;
  FlagScope busy(drawing_);
  if (image_.Images().Count() == 1 || (PaintOptions & poAnimate) == 0) {
    DrawFrame(image_.Images()[0], canvas, rect, (PaintOptions & poTransparent) != 0,
              (PaintOptions & poTile) != 0);
  } else {
    DrawAnimated(canvas, rect);
  }
}

void TGIFGraphic::DrawAnimated(fw::Canvas& canvas, const RECT& rect) {
  DrawAnimatedPicture(*this, canvas, rect);
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
  if (HDC screen = GetDC(nullptr)) {
    g_palette_display = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES) <= 8;
    ReleaseDC(nullptr, screen);
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
