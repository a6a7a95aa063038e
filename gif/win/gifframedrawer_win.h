// Drawing single frames of a picture through GDI: the picture palette and,
// for each frame, its palette, bitmap (a DIB section) and transparency mask,
// made on first use and kept in the frame's draw cache; and one frame drawn
// onto a DC placed as the logical screen maps onto a rectangle, stretched,
// tiled or transparent. The picture's graphic and its animation painters
// both draw through one TGIFFrameDrawer.
#pragma once

#include <windows.h>

#include <functional>
#include <span>

#include "framework/gdi.h"
#include "framework/graphic.h"
#include "gif/base/palette.h"
#include "gif/gifimage.h"

namespace rf::gif {

// What drawing keeps of one frame.
class TGIFFrameDrawing : public TGIFFrameCache {
 public:
  void PaletteChanged() override;

  fw::UniqueBitmap bitmap;
  fw::UniqueBitmap mask;
  fw::UniquePalette palette;
  bool mask_needed = true;  // no mask was tried yet
  bool has_bitmap = false;
};

class TGIFFrameDrawer {
 public:
  // dither answers, whenever a palette or bitmap is made, whether colours
  // are dithered onto the 216-colour cube.
  TGIFFrameDrawer(TGIFImage& image, std::function<bool()> dither)
      : image_(image), dither_(std::move(dither)) {}
  TGIFFrameDrawer(const TGIFFrameDrawer&) = delete;
  TGIFFrameDrawer& operator=(const TGIFFrameDrawer&) = delete;

  TGIFImage& Image() const { return image_; }
  bool Dither() const { return dither_ && dither_(); }

  // The picture palette (made and kept on first use).
  HPALETTE Palette();
  // Takes a copy of the caller's palette as the picture palette; frames
  // without a map of their own then render through it.
  void SetPalette(HPALETTE palette);
  // Forgets the picture palette (remade on next use).
  void DropPalette() { palette_.reset(); }
  // Drops what the frames without a local map made from the picture palette.
  void DropFramePalettes();

  // A frame's palette and bitmap, made and kept on first use. The bitmap
  // also makes the frame's mask when the frame is transparent.
  HPALETTE FramePalette(TGIFSubImage& frame);
  HBITMAP FrameBitmap(TGIFSubImage& frame);
  // The frame's mask, or nullptr (makes the bitmap first if no mask was tried).
  HBITMAP FrameMask(TGIFSubImage& frame);

  // Draws one frame placed in the rectangle as the logical screen maps onto
  // it (or as tiles of its own size from the rectangle's corner).
  void DrawFrame(TGIFSubImage& frame, fw::Canvas& canvas, const RECT& rect, bool transparent,
                 bool tiled);

 private:
  TGIFFrameDrawing& FrameDrawing(TGIFSubImage& frame);

  TGIFImage& image_;
  std::function<bool()> dither_;
  fw::UniquePalette palette_;
  bool palette_modified_ = false;
};

// A logical palette of the entries (none for no entries); raises
// EOutOfResources when the system cannot make one.
fw::UniquePalette MakePaletteHandle(std::span<const PaletteEntry> entries);

// Draws src (with its mask: bit 1 keeps the destination) into the
// destination rectangle: one MaskBlt when the sizes are equal, else the
// AND/OR sequence through a colour and a monochrome bitmap.
void TransparentStretchBlt(HDC dst, const RECT& dst_rect, HDC src, const RECT& src_rect,
                           HDC mask_dc, HPALETTE palette);

inline RECT ToRECT(const TGIFRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}
inline TGIFRect ToGIFRect(const RECT& r) {
  return TGIFRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace rf::gif
