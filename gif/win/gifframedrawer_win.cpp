#include "gif/win/gifframedrawer_win.h"

#include <cstring>
#include <vector>

#include "gif/base/geometry.h"
#include "gif/render/framerender.h"

namespace rf::gif {

namespace {

constexpr DWORD kDestinationCopy = 0x00AA0029;  // ROP "D": leave the destination

Palette EntriesOf(HPALETTE palette) {
  Palette entries;
  for (const PALETTEENTRY& e : fw::PaletteEntries(palette)) {
    entries.push_back({e.peRed, e.peGreen, e.peBlue, e.peFlags});
  }
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

}  // namespace

void TGIFFrameDrawing::PaletteChanged() {
  bitmap.reset();
  palette.reset();
  has_bitmap = false;
}

fw::UniquePalette MakePaletteHandle(std::span<const PaletteEntry> entries) {
  if (entries.empty()) return fw::UniquePalette();
  std::vector<PALETTEENTRY> raw;
  raw.reserve(entries.size());
  for (const PaletteEntry& e : entries) raw.push_back({e.red, e.green, e.blue, e.flags});
  fw::UniquePalette palette = fw::MakePalette(raw);
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
  fw::UniqueBitmap color_bitmap(CreateCompatibleBitmap(dst, sw, sh));
  fw::UniqueBitmap mono_bitmap(CreateBitmap(sw, sh, 1, 1, nullptr));
  if (!color_bitmap || !mono_bitmap) throw fw::EOutOfResources();
  fw::MemoryBitmap color(dst);
  color.Select(std::move(color_bitmap));
  fw::MemoryBitmap mono(dst);
  mono.Select(std::move(mono_bitmap));
  BitBlt(mono.dc(), 0, 0, sw, sh, mask_dc, src_rect.left, src_rect.top, NOTSRCCOPY);
  fw::PaletteScope pal(color.dc(), palette != nullptr ? palette : fw::DefaultPalette());
  // Transparent pixels become black in the colour copy of the source.
  BitBlt(color.dc(), 0, 0, sw, sh, mono.dc(), 0, 0, SRCCOPY);
  BitBlt(color.dc(), 0, 0, sw, sh, src, src_rect.left, src_rect.top, SRCAND);
  fw::TextColorsScope colors(dst, RGB(0, 0, 0), RGB(255, 255, 255));
  fw::StretchModeScope mode(dst);
  StretchBlt(dst, dst_rect.left, dst_rect.top, dw, dh, mask_dc, src_rect.left, src_rect.top, sw, sh,
             SRCAND);
  StretchBlt(dst, dst_rect.left, dst_rect.top, dw, dh, color.dc(), 0, 0, sw, sh, SRCPAINT);
}

TGIFFrameDrawing& TGIFFrameDrawer::FrameDrawing(TGIFSubImage& frame) {
  auto* drawing = dynamic_cast<TGIFFrameDrawing*>(frame.DrawCache());
  if (drawing == nullptr) {
    frame.SetDrawCache(std::make_unique<TGIFFrameDrawing>());
    drawing = static_cast<TGIFFrameDrawing*>(frame.DrawCache());
  }
  return *drawing;
}

HPALETTE TGIFFrameDrawer::Palette() {
  if (!palette_) palette_ = MakePaletteHandle(MakePicturePalette(image_, Dither()));
  return palette_.get();
}

void TGIFFrameDrawer::SetPalette(HPALETTE palette) {
  // The picture keeps a palette of its own; the caller's stays the caller's.
  palette_ = MakePaletteHandle(EntriesOf(palette));
  palette_modified_ = true;
}

void TGIFFrameDrawer::DropFramePalettes() {
  for (const auto& frame : image_.Images()) {
    if (frame->ColorMap().Empty() && frame->DrawCache() != nullptr) {
      frame->DrawCache()->PaletteChanged();
    }
  }
}

HPALETTE TGIFFrameDrawer::FramePalette(TGIFSubImage& frame) {
  TGIFFrameDrawing& drawing = FrameDrawing(frame);
  if (!drawing.palette) {
    const bool dither = Dither();
    if (dither || !frame.ColorMap().Empty()) {
      drawing.palette = MakePaletteHandle(MakeFramePalette(frame, dither, nullptr));
    } else {
      const gif::Palette picture = EntriesOf(Palette());
      drawing.palette = MakePaletteHandle(picture);
    }
  }
  return drawing.palette.get();
}

HBITMAP TGIFFrameDrawer::FrameBitmap(TGIFSubImage& frame) {
  TGIFFrameDrawing& drawing = FrameDrawing(frame);
  if (drawing.has_bitmap) return drawing.bitmap.get();
  const gif::Palette entries = EntriesOf(FramePalette(frame));
  TFrameRendering rendering =
      RenderFrame(frame, entries, Dither(), drawing.mask_needed, palette_modified_);
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

HBITMAP TGIFFrameDrawer::FrameMask(TGIFSubImage& frame) {
  TGIFFrameDrawing& drawing = FrameDrawing(frame);
  if (drawing.mask_needed) FrameBitmap(frame);
  return drawing.mask.get();
}

void TGIFFrameDrawer::DrawFrame(TGIFSubImage& frame, fw::Canvas& canvas, const RECT& rect,
                                bool transparent, bool tiled) {
  HDC dst = canvas.Handle();
  HBITMAP bitmap = FrameBitmap(frame);
  if (bitmap == nullptr) return;
  const int fw_ = frame.Width();
  const int fh = frame.Height();
  HPALETTE palette = FramePalette(frame);
  fw::UniqueDC src = fw::MakeMemoryDC(dst);
  fw::SelectScope src_sel(src.get(), bitmap);
  fw::PaletteScope src_pal(src.get(), palette);

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
      fw::StretchModeScope mode(dst);
      StretchBlt(dst, to.left, to.top, to.right - to.left, to.bottom - to.top, src.get(), from.left,
                 from.top, from.right - from.left, from.bottom - from.top, SRCCOPY);
    }
  };
  if (tiled) {
    for (const TGIFRect& tile : TileRects(ToGIFRect(rect), fw_, fh)) {
      blit(ToRECT(tile), RECT{0, 0, tile.Width(), tile.Height()});
    }
  } else {
    const TGIFRect placed = PlaceFrame(ToGIFRect(rect), image_.Width(), image_.Height(),
                                       frame.Left(), frame.Top(), fw_, fh);
    blit(ToRECT(placed), RECT{0, 0, fw_, fh});
  }
  if (mask != nullptr) canvas.Changed();
}

}  // namespace rf::gif
