#include "gif/import/colormapoptimize.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <numeric>

namespace rf::gif {

namespace {

void Optimize(TGIFColorMap& map, std::span<TGIFSubImage* const> frames) {
  if (map.Count() < 2 || frames.empty()) return;
  map.SetOptimized(true);
  const std::vector<std::uint64_t> use = CountColorUse(map, frames);
  std::vector<int> order(static_cast<std::size_t>(map.Count()));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return use[static_cast<std::size_t>(a)] > use[static_cast<std::size_t>(b)];
  });
  int used = 0;
  while (used < map.Count() &&
         use[static_cast<std::size_t>(order[static_cast<std::size_t>(used)])] > 0)
    ++used;
  const bool reordered = !std::is_sorted(order.begin(), order.end());
  if (!reordered && used == map.Count()) return;
  if (reordered) {
    std::vector<std::uint8_t> new_index(256, 0);
    for (std::size_t i = 0; i < order.size(); ++i)
      new_index[static_cast<std::size_t>(order[i])] = static_cast<std::uint8_t>(i);
    // Indexes past the map (broken pixels) keep their value.
    for (std::size_t i = order.size(); i < 256; ++i) new_index[i] = static_cast<std::uint8_t>(i);
    RemapColorMap(frames, new_index);
    std::vector<TGIFColor> colors(map.Colors().begin(), map.Colors().end());
    for (std::size_t i = 0; i < order.size(); ++i)
      map[static_cast<int>(i)] = colors[static_cast<std::size_t>(order[i])];
  }
  // An entry that no pixel uses may still be a frame's transparent colour;
  // then keep the map long enough to hold it.
  int keep = std::max(used, 1);
  for (TGIFSubImage* frame : frames)
    if (frame->Transparent() && frame->GraphicControlExtension())
      keep = std::max(keep, std::min<int>(map.Count(), frame->TransparentIndex() + 1));
  map.SetCount(keep);
  map.Changed();
}

std::vector<TGIFSubImage*> FramesUsing(TGIFImage& image, const TGIFColorMap& map) {
  std::vector<TGIFSubImage*> frames;
  for (const auto& frame : image.Images())
    if (&frame->ActiveColorMap() == &map) frames.push_back(frame.get());
  return frames;
}

}  // namespace

std::vector<std::uint64_t> CountColorUse(const TGIFColorMap& map,
                                         std::span<TGIFSubImage* const> frames) {
  std::vector<std::uint64_t> all(256, 0);
  for (const TGIFSubImage* frame : frames)
    for (std::uint8_t p : frame->Pixels()) ++all[p];
  all.resize(static_cast<std::size_t>(map.Count()));
  return all;
}

void RemapColorMap(std::span<TGIFSubImage* const> frames, std::span<const std::uint8_t> new_index) {
  if (new_index.size() < 256) return;
  for (TGIFSubImage* frame : frames) {
    for (std::uint8_t& p : frame->Pixels()) p = new_index[p];
    TGIFGraphicControlExtension* gce = frame->GraphicControlExtension();
    if (frame->Transparent() && gce != nullptr)
      gce->SetTransparentColorIndex(new_index[gce->TransparentColorIndex()]);
  }
}

void OptimizeColorMap(TGIFImage& image, TGIFColorMap& map) {
  std::vector<TGIFSubImage*> frames = FramesUsing(image, map);
  Optimize(map, frames);
}

void OptimizeColorMap(TGIFSubImage& frame) {
  if (frame.ColorMap().Empty()) return;
  TGIFSubImage* frames[] = {&frame};
  Optimize(frame.ColorMap(), frames);
}

int ReserveTransparentEntry(TGIFColorMap& map, std::span<TGIFSubImage* const> frames) {
  if (map.Count() < TGIFColorMap::kMaxColors) return map.Add({0, 0, 0});
  const int gone = map.Count() - 1;
  const TGIFColor color = map[gone];
  int nearest = 0;
  int best = std::numeric_limits<int>::max();
  for (int i = 0; i < gone; ++i) {
    const int d = std::abs(map[i].red - color.red) + std::abs(map[i].green - color.green) +
                  std::abs(map[i].blue - color.blue);
    if (d < best) {
      best = d;
      nearest = i;
    }
  }
  for (TGIFSubImage* frame : frames)
    for (std::uint8_t& p : frame->Pixels())
      if (p == gone) p = static_cast<std::uint8_t>(nearest);
  map[gone] = {0, 0, 0};
  map.Changed();
  return gone;
}

void SetTransparentIndex(TGIFSubImage& frame, std::uint8_t index) {
  TGIFGraphicControlExtension* gce = frame.GraphicControlExtension();
  if (gce == nullptr) {
    auto made = std::make_unique<TGIFGraphicControlExtension>(&frame);
    gce = made.get();
    frame.Extensions().Add(std::move(made));
    frame.SetGraphicControlExtension(gce);
  }
  gce->SetTransparentColorIndex(index);
  gce->SetTransparent(true);
  frame.SetTransparent(true);
}

}  // namespace rf::gif
