#include "gif/anim/rgbacompose.h"

#include <algorithm>

#include "gif/gifimage.h"

namespace rf::gif {

TRGBAImage::TRGBAImage(int w, int h, std::uint32_t fill) : width(w), height(h) {
  rgba.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Set(x, y, fill);
}

std::uint32_t TRGBAImage::At(int x, int y) const {
  const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

void TRGBAImage::Set(int x, int y, std::uint32_t value) {
  std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
  p[0] = static_cast<std::uint8_t>(value >> 24);
  p[1] = static_cast<std::uint8_t>(value >> 16);
  p[2] = static_cast<std::uint8_t>(value >> 8);
  p[3] = static_cast<std::uint8_t>(value);
}

std::uint32_t OpaqueFromColorValue(std::uint32_t value) {
  return (value & 0xFF) << 24 | ((value >> 8) & 0xFF) << 16 | ((value >> 16) & 0xFF) << 8 | 0xFF;
}

namespace {

void CopyArea(const TRGBAImage& from, int fx, int fy, TRGBAImage& to, const TGIFRect& area) {
  for (int y = std::max(area.top, 0); y < std::min(area.bottom, to.height); ++y) {
    for (int x = std::max(area.left, 0); x < std::min(area.right, to.width); ++x) {
      const int sx = x - area.left + fx;
      const int sy = y - area.top + fy;
      if (sx >= 0 && sy >= 0 && sx < from.width && sy < from.height) to.Set(x, y, from.At(sx, sy));
    }
  }
}

}  // namespace

TRGBAComposer::TRGBAComposer(const TGIFImage& image, TRGBAImage& destination, const TGIFRect& rect,
                             bool transparent, bool tile, std::uint32_t background,
                             const TBufferPlan& plan)
    : image_(image),
      destination_(destination),
      rect_(rect),
      transparent_(transparent),
      tile_(tile),
      background_(background) {
  const int w = rect.Width();
  const int h = rect.Height();
  if (plan.work_buffers) {
    has_work_ = true;
    work_ = TRGBAImage(w, h, background);
    CopyArea(destination_, rect.left, rect.top, work_, {0, 0, w, h});
    previous_ = TRGBAImage(w, h, background);
  }
  if (plan.saved_background) {
    has_saved_ = true;
    saved_ = TRGBAImage(w, h, background);
    CopyArea(destination_, rect.left, rect.top, saved_, {0, 0, w, h});
  }
}

TRGBAImage& TRGBAComposer::Surface(TComposeTarget target, TGIFRect& rect) {
  switch (target) {
    case TComposeTarget::Work:
      rect = {0, 0, work_.width, work_.height};
      return work_;
    case TComposeTarget::Previous:
      rect = {0, 0, previous_.width, previous_.height};
      return previous_;
    case TComposeTarget::Destination:
      break;
  }
  rect = rect_;
  return destination_;
}

void TRGBAComposer::DrawFrame(TComposeTarget target, int index) {
  const TGIFSubImage& frame = image_.Images()[static_cast<std::size_t>(index)];
  if (frame.Empty()) return;
  TGIFRect rect;
  TRGBAImage& surface = Surface(target, rect);
  const TGIFColorMap& map = frame.ActiveColorMap();
  const bool masked = transparent_ && frame.Transparent();
  const int transparent_index = frame.TransparentIndex();
  const int fw = frame.Width();
  const int fh = frame.Height();
  const auto pixels = frame.Pixels();
  auto put = [&](int x, int y, int sx, int sy) {
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return;
    const int pixel = pixels[static_cast<std::size_t>(sy) * fw + sx];
    if (masked && pixel == transparent_index) return;
    // Entries beyond the table are black, as in the bitmap's colour table.
    std::uint32_t color = 0x000000FF;
    if (pixel < map.Count()) color = OpaqueFromColorValue(map.ColorValue(pixel));
    surface.Set(x, y, color);
  };
  if (tile_) {
    for (const TGIFRect& t : TileRects(rect, fw, fh))
      for (int y = t.top; y < t.bottom; ++y)
        for (int x = t.left; x < t.right; ++x) put(x, y, x - t.left, y - t.top);
    return;
  }
  const TGIFRect placed =
      PlaceFrame(rect, image_.Width(), image_.Height(), frame.Left(), frame.Top(), fw, fh);
  if (placed.Width() <= 0 || placed.Height() <= 0) return;
  // Nearest pixel, as a colour-on-colour stretch does; only what lands on
  // the surface is visited.
  const int y0 = std::max(placed.top, 0), y1 = std::min(placed.bottom, surface.height);
  const int x0 = std::max(placed.left, 0), x1 = std::min(placed.right, surface.width);
  for (int y = y0; y < y1; ++y) {
    const int sy = static_cast<int>(std::int64_t{y - placed.top} * fh / placed.Height());
    for (int x = x0; x < x1; ++x) {
      put(x, y, static_cast<int>(std::int64_t{x - placed.left} * fw / placed.Width()), sy);
    }
  }
}

void TRGBAComposer::Present(TComposeTarget from) {
  TGIFRect unused;
  const TRGBAImage& source = Surface(from, unused);
  CopyArea(source, 0, 0, destination_, rect_);
}

void TRGBAComposer::CopyWorkToPrevious() {
  previous_ = work_;
}

std::vector<TGIFRect> TRGBAComposer::Areas(int index) const {
  const TGIFSubImage& frame = image_.Images()[static_cast<std::size_t>(index)];
  const TGIFRect whole{0, 0, rect_.Width(), rect_.Height()};
  if (tile_) return TileRects(whole, frame.Width(), frame.Height());
  return {PlaceFrame(whole, image_.Width(), image_.Height(), frame.Left(), frame.Top(),
                     frame.Width(), frame.Height())};
}

void TRGBAComposer::RestoreBackground(int index) {
  if (!has_work_) return;
  for (const TGIFRect& area : Areas(index)) {
    if (transparent_ && has_saved_) {
      CopyArea(saved_, area.left, area.top, work_, area);
    } else {
      for (int y = std::max(area.top, 0); y < std::min(area.bottom, work_.height); ++y)
        for (int x = std::max(area.left, 0); x < std::min(area.right, work_.width); ++x)
          work_.Set(x, y, background_);
    }
  }
}

namespace {

class RGBADriver : public TAnimationDriver {
 public:
  RGBADriver(const TGIFImage& image, TRGBAComposer& composer, TRGBAImage& destination,
             const TRGBAPlayOptions& options, TRGBAPlayback& out)
      : image_(image),
        composer_(composer),
        destination_(destination),
        options_(options),
        out_(out) {}

  bool Terminated() const override {
    return static_cast<int>(out_.frames.size()) >= options_.max_frames;
  }
  bool PrepareFrame(int index, TFrameStep& step) override {
    if (index >= static_cast<int>(image_.Images().Count())) return false;
    step = FrameStepOf(image_.Images()[static_cast<std::size_t>(index)]);
    return true;
  }
  void StartClock() override {}
  void Wait(int units) override { pending_units_ = units; }
  void Event(TPaintEvent) override {}
  bool DrawFrame(int index, int disposal, int previous) override {
    ComposeFrame(composer_, index, disposal, previous, options_.clear_on_repeat && index == 0);
    out_.frames.push_back(destination_);
    out_.indexes.push_back(index);
    out_.units.push_back(pending_units_);
    pending_units_ = 0;
    return true;
  }

 private:
  const TGIFImage& image_;
  TRGBAComposer& composer_;
  TRGBAImage& destination_;
  const TRGBAPlayOptions& options_;
  TRGBAPlayback& out_;
  int pending_units_ = 0;
};

}  // namespace

TRGBAPlayback PlayToRGBA(const TGIFImage& image, TRGBAImage destination,
                         const TRGBAPlayOptions& options, std::uint32_t background) {
  TRGBAPlayback out;
  if (image.Empty()) return out;
  const TBufferPlan plan =
      PlanBuffers(DisposalSet(image, options.clear_on_repeat), options.transparent);
  TRGBAComposer composer(image, destination, {0, 0, destination.width, destination.height},
                         options.transparent, options.tile, background, plan);
  RGBADriver driver(image, composer, destination, options, out);
  TAnimationRun run(driver, options.run);
  run.Run();
  return out;
}

}  // namespace rf::gif
