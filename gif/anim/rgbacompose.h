// Animation frames composed in memory: the painter's disposal rules on RGBA
// arrays instead of GDI bitmaps. Lets the composition be checked without a
// window system (and against other decoders' expected frames).
#pragma once

#include <cstdint>
#include <vector>

#include "gif/anim/animationcompose.h"
#include "gif/anim/animationrun.h"

namespace rf::gif {

class TGIFImage;

// 8-bit red, green, blue, alpha per pixel, rows top to bottom.
struct TRGBAImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;

  TRGBAImage() = default;
  TRGBAImage(int w, int h, std::uint32_t fill = 0);
  // 0xRRGGBBAA
  std::uint32_t At(int x, int y) const;
  void Set(int x, int y, std::uint32_t value);
  friend bool operator==(const TRGBAImage&, const TRGBAImage&) = default;
};

// Opaque colour from a colour value (red + green·256 + blue·65536).
std::uint32_t OpaqueFromColorValue(std::uint32_t value);

class TRGBAComposer : public TComposeSurfaces {
 public:
  // destination and rect: where the picture is shown; background: opaque
  // RGBA of the background colour.
  TRGBAComposer(const TGIFImage& image, TRGBAImage& destination, const TGIFRect& rect,
                bool transparent, bool tile, std::uint32_t background, const TBufferPlan& plan);

  bool HasWorkBuffer() const override { return has_work_; }
  void DrawFrame(TComposeTarget target, int frame) override;
  void Present(TComposeTarget from) override;
  void CopyWorkToPrevious() override;
  void RestoreBackground(int frame) override;

  const TRGBAImage& Work() const { return work_; }

 private:
  TRGBAImage& Surface(TComposeTarget target, TGIFRect& rect);
  std::vector<TGIFRect> Areas(int frame) const;

  const TGIFImage& image_;
  TRGBAImage& destination_;
  TGIFRect rect_;
  bool transparent_;
  bool tile_;
  std::uint32_t background_;
  bool has_work_ = false;
  bool has_saved_ = false;
  TRGBAImage work_, previous_, saved_;
};

struct TRGBAPlayOptions {
  TRunOptions run{true, true, true, false};
  bool transparent = true;
  bool tile = false;
  bool clear_on_repeat = false;
  int max_frames = 1000;  // the run is ended after this many frames
};

struct TRGBAPlayback {
  std::vector<TRGBAImage> frames;  // the destination after each frame shown
  std::vector<int> indexes;        // the frame index shown each time
  std::vector<int> units;          // the delay units waited before each frame
};

// Plays the picture (without waiting) onto the destination, whole.
TRGBAPlayback PlayToRGBA(const TGIFImage& image, TRGBAImage destination,
                         const TRGBAPlayOptions& options, std::uint32_t background);

}  // namespace rf::gif
