// A GIF picture as the framework's picture controls see it: TGIFImage with
// its drawing state (paint options, palettes, frame bitmaps and masks made
// once and kept), drawing into a canvas stretched, tiled or transparent, and
// the module-wide registration of the format and its clipboard format.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "framework/gdi.h"
#include "framework/graphic.h"
#include "gif/base/palette.h"
#include "gif/gifimage.h"
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

class TGIFPainter;  // the animation painter attaches here
using TGIFPainterEvent = std::function<void(TGIFPainter&)>;

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

// What drawing keeps of the whole picture.
class TGIFImageDrawing : public TGIFImageCache {
 public:
  explicit TGIFImageDrawing(TGIFImage& image) : image_(image) {}
  // Drops the picture palette, the buffer, and what the frames without a
  // local map made from the picture palette.
  void PaletteChanged() override;
  void DropFramePalettes();

  fw::UniquePalette palette;
  TGIFPaintState paint;  // painters, the picture's lock, the buffer bitmap
  bool palette_modified = false;

 private:
  TGIFImage& image_;
};

class TGIFGraphic : public fw::Graphic {
 public:
  TGIFGraphic();
  ~TGIFGraphic() override;
  TGIFGraphic(const TGIFGraphic&) = delete;
  TGIFGraphic& operator=(const TGIFGraphic&) = delete;

  TGIFImage& Image() { return image_; }
  const TGIFImage& Image() const { return image_; }

  int Width() const override { return image_.Width(); }
  int Height() const override { return image_.Height(); }
  bool Empty() const override { return image_.Empty(); }
  void Draw(fw::Canvas& canvas, const RECT& rect) override;
  void LoadFromBytes(std::span<const std::uint8_t> data) override;

  // Reads the picture from clipboard data: "GIF Image" as a GIF stream, a
  // plain bitmap through the bitmap import; anything else raises
  // "Unsupported clipboard format".
  void LoadFromClipboardFormat(UINT format, HANDLE data);

  std::uint16_t PaintOptions = kDefaultPaintOptions;
  int AnimationSpeed = 100;
  int ThreadPriority = THREAD_PRIORITY_NORMAL;
  COLORREF AnimationBackground = kNoColor;
  TGIFPainterEvent OnPaintStart;
  TGIFPainterEvent OnFrameBegin;
  TGIFPainterEvent OnFrameEnd;
  TGIFPainterEvent OnPassRepeat;
  TGIFPainterEvent OnPaintEnd;
  // The picture's look changed behind the caller's back (a painter drew a
  // frame into the buffer): whoever shows it should paint it again.
  std::function<void()> OnChange;

  // Dithering applies: poDither, and a palette display unless
  // poDitherOnPaletteDisplayOnly is off.
  bool DoDither() const;

  // The picture palette (made and kept on first use) and its replacement.
  HPALETTE Palette();
  void SetPalette(HPALETTE palette);
  // A frame's palette and bitmap, made and kept on first use. The bitmap
  // also makes the frame's mask when the frame is transparent.
  HPALETTE FramePalette(TGIFSubImage& frame);
  HBITMAP FrameBitmap(TGIFSubImage& frame);
  // The frame's mask, or nullptr (makes the bitmap first if no mask was tried).
  HBITMAP FrameMask(TGIFSubImage& frame);
  // Draws one frame placed in the rectangle as the logical screen maps onto it.
  void DrawFrame(TGIFSubImage& frame, fw::Canvas& canvas, const RECT& rect, bool transparent,
                 bool tiled);

  // What drawing keeps of the whole picture (made on first use).
  TGIFImageDrawing& ImageDrawing();

 protected:
  // A picture of several frames with poAnimate: the animation painter.
  virtual void DrawAnimated(fw::Canvas& canvas, const RECT& rect);

 private:
  TGIFFrameDrawing& FrameDrawing(TGIFSubImage& frame);
  gif::Palette PicturePaletteEntries();

  TGIFImage image_;
  bool drawing_ = false;
};

// Module start: registers the class "TGIFImage" and the file format ("GIF",
// "GIF Image") with the picture registry, the clipboard format "GIF Image",
// measures the screen and fetches the default palette. Module end undoes the
// registrations.
void RegisterGIFFormat();
void UnregisterGIFFormat();
// The clipboard format "GIF Image" (0 before registration).
UINT GIFClipboardFormat();
// The screen shows at most 256 colours (bits per pixel × planes <= 8).
bool PaletteDisplay();

// A logical palette of the entries.
fw::UniquePalette MakePaletteHandle(std::span<const PaletteEntry> entries);

// Draws src (with its mask: bit 1 keeps the destination) into the
// destination rectangle: one MaskBlt when the sizes are equal, else the
// AND/OR sequence through a colour and a monochrome bitmap.
void TransparentStretchBlt(HDC dst, const RECT& dst_rect, HDC src, const RECT& src_rect,
                           HDC mask_dc, HPALETTE palette);

}  // namespace rf::gif
