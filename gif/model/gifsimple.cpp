#include "gif/model/gifsimple.h"

#include <algorithm>
#include <stdexcept>

#include "gif/gifimage.h"

namespace rf::gif {

namespace {

void Require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

std::uint16_t Word(int v, const char* what) {
  Require(v >= 0 && v <= 0xFFFF, what);
  return static_cast<std::uint16_t>(v);
}

void FillMap(TGIFColorMap& map, const std::vector<TGIFColor>& colors) {
  Require(colors.size() <= 256, "GIF colour table larger than 256 entries");
  map.SetCount(static_cast<int>(colors.size()));
  for (std::size_t i = 0; i < colors.size(); ++i) {
    map[static_cast<int>(i)] = {colors[i].red, colors[i].green, colors[i].blue};
  }
}

void AddFrame(TGIFImage& image, const SimpleFrame& f, bool with_loop, std::uint16_t loop_count) {
  Require(f.pixels.size() == static_cast<std::size_t>(std::max(f.width, 0)) *
                                 static_cast<std::size_t>(std::max(f.height, 0)),
          "GIF frame pixel count does not match its size");
  auto owned = std::make_unique<TGIFSubImage>(&image);
  TGIFSubImage& frame = *owned;
  TGIFImageDescriptor& d = frame.Descriptor();
  d.Left = Word(f.left, "GIF frame position out of range");
  d.Top = Word(f.top, "GIF frame position out of range");
  d.Width = Word(f.width, "GIF frame size out of range");
  d.Height = Word(f.height, "GIF frame size out of range");
  d.Packed = f.interlaced ? 0x40 : 0x00;
  FillMap(frame.ColorMap(), f.local_colors);
  if (with_loop) {
    auto loop = std::make_unique<TGIFAppExtNSLoop>(&frame);
    loop->SetLoopCount(loop_count);
    frame.Extensions().Add(std::move(loop));
  }
  if (f.control) {
    const SimpleControl& c = *f.control;
    auto gce = std::make_unique<TGIFGraphicControlExtension>(&frame);
    gce->SetDisposal(std::clamp(c.disposal, 0, 7));
    gce->SetDelay(Word(c.delay, "GIF frame delay out of range"));
    if (c.user_input) gce->Block()[1] |= 0x02;
    if (c.transparent >= 0) {
      Require(c.transparent <= 255, "GIF transparent index out of range");
      gce->SetTransparent(true);
      gce->SetTransparentColorIndex(static_cast<std::uint8_t>(c.transparent));
      frame.SetTransparent(true);
    }
    frame.Extensions().Add(std::move(gce));
  }
  if (!f.comments.empty()) {
    auto comment = std::make_unique<TGIFCommentExtension>(&frame);
    comment->Comment() = f.comments;
    frame.Extensions().Add(std::move(comment));
  }
  if (!f.pixels.empty()) {
    std::copy(f.pixels.begin(), f.pixels.end(), frame.AllocatePixels().begin());
  }
  image.Images().Add(std::move(owned));
}

}  // namespace

std::unique_ptr<TGIFImage> BuildSimpleImage(const SimplePicture& picture) {
  auto image = std::make_unique<TGIFImage>();
  TGIFScreenDescriptor& screen = image->Header().Descriptor();
  screen.Width = Word(picture.width, "GIF screen width out of range");
  screen.Height = Word(picture.height, "GIF screen height out of range");
  screen.BackgroundColorIndex = picture.background;
  screen.AspectRatio = picture.aspect;
  FillMap(image->GlobalColorMap(), picture.colors);
  image->Compression = picture.compression;
  bool first = true;
  for (const SimpleFrame& f : picture.frames) {
    AddFrame(*image, f, first && picture.loop_count.has_value(), picture.loop_count.value_or(0));
    first = false;
  }
  return image;
}

std::vector<std::uint8_t> SaveSimplePicture(const SimplePicture& picture) {
  std::vector<std::uint8_t> out;
  BuildSimpleImage(picture)->SaveToStream(out);
  return out;
}

SimplePicture StillPicture(int width, int height, std::vector<TGIFColor> colors,
                           std::vector<std::uint8_t> pixels) {
  SimplePicture picture;
  picture.width = width;
  picture.height = height;
  picture.colors = std::move(colors);
  picture.compression = gcLZW;
  SimpleFrame frame;
  frame.width = width;
  frame.height = height;
  frame.pixels = std::move(pixels);
  frame.control = SimpleControl{};
  picture.frames.push_back(std::move(frame));
  return picture;
}

}  // namespace rf::gif
