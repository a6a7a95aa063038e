#include "gif/import/imageoptimize.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/import/colormapoptimize.h"
#include "gif/reduce/colorquantizer.h"
#include "gif/reduce/ditherer.h"

namespace rf::gif {

namespace {

// The transparent index of a frame, or -1.
int TransparentOf(const TGIFSubImage& frame) {
  return frame.Transparent() && frame.GraphicControlExtension() ? frame.TransparentIndex() : -1;
}

// The colour of a pixel through a frame's active map (black past its end).
TGIFColor ColorOf(const TGIFColorMap& map, std::uint8_t index) {
  return index < map.Count() ? map[index] : TGIFColor{};
}

Palette CommonPalette(const TGIFImage& image, const ReductionSettings& settings,
                      bool need_transparent) {
  if (settings.method != rmQuantize && settings.method != rmQuantizeWindows) {
    auto lookup = MakeReductionLookup(PixelBitmap(), settings);
    return lookup->GetPalette();
  }
  const bool reserve = settings.method == rmQuantizeWindows;
  int colors = reserve ? 236 : 1 << std::clamp(settings.bits, 1, 8);
  // Keep an entry free for the transparent pixels.
  if (need_transparent && !reserve && colors == 256) colors = 255;
  TColorQuantizer quantizer(reserve ? 236 : colors, 8);
  for (const auto& frame : image.Images()) {
    const TGIFColorMap& map = frame->ActiveColorMap();
    const int transparent = TransparentOf(*frame);
    for (std::uint8_t p : frame->Pixels()) {
      if (p == transparent) continue;
      const TGIFColor c = ColorOf(map, p);
      quantizer.AddColor(c.red, c.green, c.blue);
    }
  }
  return PlaceQuantizedColors(quantizer, colors, reserve, settings.system.default_palette);
}

}  // namespace

void OptimizeColorMaps(TGIFImage& image, const ReductionSettings& settings) {
  if (settings.method < rmNone || settings.method > rmPalette || settings.dither_mode < 0 ||
      settings.dither_mode > dmBurkes)
    throw GIFException(msg::kInvalidReductionMethod);
  image.Progress(psStarting, 0, false, {}, msg::kOptimizing);
  const std::size_t count = image.Images().Count();
  if (settings.method == rmNone) {
    OptimizeColorMap(image, image.GlobalColorMap());
    for (std::size_t i = 0; i < count; ++i) {
      TGIFSubImage& frame = image.Images()[i];
      if (!frame.ColorMap().Empty()) OptimizeColorMap(frame);
      image.Progress(psRunning, static_cast<int>((i + 1) * 100 / count), false, {},
                     msg::kOptimizing);
    }
    image.Progress(psEnding, 100, false, {}, msg::kOptimizing);
    return;
  }

  bool any_transparent = false;
  for (const auto& frame : image.Images()) any_transparent |= TransparentOf(*frame) >= 0;
  const Palette palette = CommonPalette(image, settings, any_transparent);
  ReductionSettings fixed = settings;
  fixed.method = rmPalette;
  fixed.palette = palette;
  std::unique_ptr<TColorLookup> lookup =
      settings.method == rmQuantize || settings.method == rmQuantizeWindows
          ? MakeReductionLookup(PixelBitmap(), fixed)
          : MakeReductionLookup(PixelBitmap(), settings);

  // Each frame's pixels through its own map onto the common palette; the
  // transparent ones are marked and count as entry 0 for now.
  std::vector<std::vector<std::uint8_t>> masks(count);
  std::vector<TGIFSubImage*> frames;
  for (std::size_t i = 0; i < count; ++i) {
    TGIFSubImage& frame = image.Images()[i];
    frames.push_back(&frame);
    if (frame.Empty()) continue;
    const TGIFColorMap& map = frame.ActiveColorMap();
    std::vector<TGIFColor> colors(256);
    for (int c = 0; c < map.Count(); ++c) colors[static_cast<std::size_t>(c)] = map[c];
    const int transparent = TransparentOf(frame);
    std::unique_ptr<TDitherEngine> ditherer =
        MakeDitherer(settings.dither_mode, frame.Width(), *lookup);
    std::span<std::uint8_t> pixels = frame.Pixels();
    masks[i].assign(pixels.size(), 0);
    for (int y = 0; y < frame.Height(); ++y) {
      std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * frame.Width();
      std::uint8_t* mask = masks[i].data() + static_cast<std::size_t>(y) * frame.Width();
      const int step = ditherer->Direction();
      for (int n = 0, x = ditherer->StartColumn(); n < frame.Width(); ++n, x += step) {
        const TGIFColor& c = colors[row[x]];
        const std::uint8_t index = ditherer->Dither(c.red, c.green, c.blue);
        mask[x] = row[x] == transparent;
        row[x] = mask[x] ? 0 : index;
      }
      ditherer->NextLine();
    }
    image.Progress(psRunning, static_cast<int>((i + 1) * 100 / count), false, {}, msg::kOptimizing);
  }

  TGIFColorMap& global = image.GlobalColorMap();
  global.SetCount(static_cast<int>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i)
    global[static_cast<int>(i)] = {palette[i].red, palette[i].green, palette[i].blue};
  for (TGIFSubImage* frame : frames) {
    frame->ColorMap().Clear();
    frame->ColorMap().Changed();
    // The old transparent index means nothing on the new map.
    if (TGIFGraphicControlExtension* gce = frame->GraphicControlExtension()) {
      if (TransparentOf(*frame) >= 0) gce->SetTransparentColorIndex(0);
    }
  }
  OptimizeColorMap(image, global);
  if (any_transparent) {
    const int transparent = ReserveTransparentEntry(global, frames);
    for (std::size_t i = 0; i < count; ++i) {
      TGIFSubImage& frame = *frames[i];
      if (TransparentOf(frame) < 0) continue;
      std::span<std::uint8_t> pixels = frame.Pixels();
      for (std::size_t p = 0; p < pixels.size(); ++p)
        if (masks[i][p]) pixels[p] = static_cast<std::uint8_t>(transparent);
      SetTransparentIndex(frame, static_cast<std::uint8_t>(transparent));
    }
  }
  global.Changed();
  image.Progress(psEnding, 100, false, {}, msg::kOptimizing);
}

}  // namespace rf::gif
