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
#include "gif/gifimage.h"
#include "gif/win/gifframedrawer_win.h"
#include "gif/win/gifpainter_win.h"
#include "gif/win/gifpaintstate_win.h"

namespace rf::gif {

// What drawing keeps of the whole picture: the frame drawing (palettes,
// frame bitmaps and masks) and the painters with their buffer. A colour map
// change reaches both from here, the one place that knows both.
class TGIFImageDrawing : public TGIFImageCache {
 public:
  TGIFImageDrawing(TGIFImage& image, std::function<bool()> dither)
      : drawer(image, std::move(dither)) {}
  // Drops the picture palette, the buffer, and what the frames without a
  // local map made from the picture palette.
  void PaletteChanged() override;

  TGIFFrameDrawer drawer;
  TGIFPaintState paint;  // painters, the picture's lock, the buffer bitmap
};

class TGIFGraphic : public fw::Graphic, public TGIFPainterSettings {
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

  // The picture's look changed behind the caller's back (a painter drew a
  // frame into the buffer): whoever shows it should paint it again.
  std::function<void()> OnChange;

  // Dithering applies: poDither, and a palette display unless
  // poDitherOnPaletteDisplayOnly is off.
  bool DoDither() const;

  // The picture palette (made and kept on first use) and its replacement.
  HPALETTE Palette();
  void SetPalette(HPALETTE palette);

  // What drawing keeps of the whole picture (made on first use); its
  // drawer draws single frames.
  TGIFImageDrawing& ImageDrawing();
  TGIFFrameDrawer& Drawer() { return ImageDrawing().drawer; }
  // The settings a painter started now copies: PaintOptions,
  // AnimationSpeed, ThreadPriority, AnimationBackground, the five events.
  const TGIFPainterSettings& PainterSettings() const { return *this; }

 protected:
  // A picture of several frames with poAnimate: the animation painter.
  virtual void DrawAnimated(fw::Canvas& canvas, const RECT& rect);

 private:
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

}  // namespace rf::gif
