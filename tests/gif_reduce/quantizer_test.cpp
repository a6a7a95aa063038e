#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "gif/base/palette.h"
#include "gif/reduce/colorquantizer.h"
#include "tests/gif_reduce/test_pixels.h"

namespace rf::gif {
namespace {

std::vector<std::uint8_t> Bgr(std::initializer_list<PaletteEntry> colours, int repeat) {
  std::vector<std::uint8_t> px;
  for (int i = 0; i < repeat; ++i)
    for (const PaletteEntry& c : colours) Append3(px, c.blue, c.green, c.red);
  return px;
}

TEST(Quantizer, FewColoursComeOutExactlyInDepthFirstOrder) {
  // Depth-first order: the first differing bit decides, red before green
  // before blue within a level. (0,0,255) goes to child 1, (0,255,0) to
  // child 2, (255,0,0) to child 4 at the root.
  const auto px = Bgr({{255, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}}, 5);
  const Palette p = Quantize(px, 256, 8, false, DefaultSystemPalette());
  ASSERT_EQ(p.size(), 256u);
  EXPECT_EQ(p[0], (PaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(p[1], (PaletteEntry{0, 255, 0, 0}));
  EXPECT_EQ(p[2], (PaletteEntry{255, 0, 0, 0}));
  for (std::size_t i = 3; i < p.size(); ++i) EXPECT_EQ(p[i], PaletteEntry{}) << i;
}

TEST(Quantizer, ReducesTheDeepestMostRecentNodeFirst) {
  // Four colours into three: the two that differ only in the lowest bit
  // share the deepest parent and are merged into their average, weighted
  // by their counts.
  std::vector<std::uint8_t> px = Bgr({{10, 10, 10, 0}}, 3);
  auto more = Bgr({{11, 10, 10, 0}, {200, 0, 0, 0}, {0, 200, 0, 0}}, 1);
  px.insert(px.end(), more.begin(), more.end());
  TColorQuantizer q(3, 8);
  q.AddBgrPixels(px);
  EXPECT_EQ(q.LeafCount(), 3);
  const Palette p = q.Colors();
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0], (PaletteEntry{10, 10, 10, 0}));  // (3*10 + 11) / 4
  EXPECT_EQ(p[1], (PaletteEntry{0, 200, 0, 0}));
  EXPECT_EQ(p[2], (PaletteEntry{200, 0, 0, 0}));
}

TEST(Quantizer, NeverExceedsTheAllowedCountAndAveragesStayInside) {
  std::mt19937 rng(7);
  std::vector<std::uint8_t> px(3 * 20000);
  for (auto& b : px) b = static_cast<std::uint8_t>(rng());
  for (auto [count, bits] : {std::tuple{256, 8}, {16, 8}, {2, 8}, {1, 8}, {8, 3}, {64, 5}}) {
    TColorQuantizer q(count, bits);
    q.AddBgrPixels(px);
    EXPECT_LE(q.LeafCount(), count);
    EXPECT_GE(q.LeafCount(), 1);
    const Palette p = q.Colors();
    EXPECT_EQ(static_cast<int>(p.size()), q.LeafCount());
    std::set<std::tuple<int, int, int>> distinct;
    for (const PaletteEntry& e : p) distinct.insert({e.red, e.green, e.blue});
    EXPECT_GT(distinct.size(), p.size() / 2) << count << " colours, " << bits << " bits";
  }
}

TEST(Quantizer, ReservingStaticColoursKeepsThemInPlace) {
  const Palette system = DefaultSystemPalette();
  const auto px = Bgr({{1, 2, 3, 0}, {250, 100, 50, 0}}, 2);
  const Palette p = Quantize(px, 256, 8, true, system);
  ASSERT_EQ(p.size(), 256u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p[static_cast<std::size_t>(i)], system[static_cast<std::size_t>(i)]);
    EXPECT_EQ(p[static_cast<std::size_t>(246 + i)], system[static_cast<std::size_t>(10 + i)]);
  }
  EXPECT_EQ(p[10], (PaletteEntry{1, 2, 3, 0}));
  EXPECT_EQ(p[11], (PaletteEntry{250, 100, 50, 0}));
  EXPECT_EQ(p[12], PaletteEntry{});
}

TEST(Quantizer, ManyColoursReserveThe236MiddleEntries) {
  std::vector<std::uint8_t> px;
  for (int i = 0; i < 4096; ++i) Append3(px, i * 16, i, i / 16);
  TColorQuantizer q(236, 8);
  q.AddBgrPixels(px);
  EXPECT_LE(q.LeafCount(), 236);
  EXPECT_GT(q.LeafCount(), 200);
}

}  // namespace
}  // namespace rf::gif
