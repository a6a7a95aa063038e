// A frame's bitmap as the drawing code gets it: the BMP bytes, the mask, the
// palettes, and dithering onto the 216-colour cube.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/model/gifsimple.h"
#include "gif/render/framerender.h"

namespace rf::gif {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::unique_ptr<TGIFImage> Picture(int w, int h, std::vector<TGIFColor> colors, Bytes pixels,
                                   int transparent = -1) {
  SimplePicture pic;
  pic.width = w;
  pic.height = h;
  pic.colors = std::move(colors);
  SimpleFrame f;
  f.width = w;
  f.height = h;
  f.pixels = std::move(pixels);
  if (transparent >= 0) f.control = SimpleControl{0, 0, false, transparent};
  pic.frames.push_back(std::move(f));
  return BuildSimpleImage(pic);
}

// Floyd–Steinberg onto the cube written straight from the rules: errors in
// sixteenths (7 right, 3 below-behind, 5 below, 1 below-ahead), each sum
// rounded by adding 8 and divided truncating toward zero, channels clamped,
// level (v + 3) / 51, rows alternately left to right and right to left.
Bytes ReferenceDither(const Bytes& px, int w, int h, const std::vector<TGIFColor>& colors) {
  Bytes out(px.size());
  std::vector<std::array<int, 3>> cur(static_cast<std::size_t>(w)), next(cur.size());
  for (int y = 0; y < h; ++y) {
    const int dir = y % 2 == 0 ? 1 : -1;
    for (int i = 0; i < w; ++i) {
      const int x = dir > 0 ? i : w - 1 - i;
      const std::uint8_t p = px[static_cast<std::size_t>(y) * w + x];
      const TGIFColor c = p < colors.size() ? colors[p] : TGIFColor{};
      const int in[3] = {c.red, c.green, c.blue};
      int level[3];
      for (int ch = 0; ch < 3; ++ch) {
        const int v = std::clamp(in[ch] + (cur[x][ch] + 8) / 16, 0, 255);
        level[ch] = (v + 3) / 51;
        const int e = v - level[ch] * 51;
        auto add = [&](std::vector<std::array<int, 3>>& row, int xx, int weight) {
          if (xx >= 0 && xx < w) row[xx][ch] += e * weight;
        };
        add(cur, x + dir, 7);
        add(next, x - dir, 3);
        add(next, x, 5);
        add(next, x + dir, 1);
      }
      out[static_cast<std::size_t>(y) * w + x] =
          static_cast<std::uint8_t>(level[0] * 36 + level[1] * 6 + level[2]);
    }
    cur.swap(next);
    std::fill(next.begin(), next.end(), std::array<int, 3>{});
  }
  return out;
}

Bytes BmpRows(Bytes bmp, int w, int h) {
  Bytes rows;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* r = BmpRow(bmp, w, h, y);
    rows.insert(rows.end(), r, r + w);
  }
  return rows;
}

TEST(FrameBitmap, BmpHeaderColourTableAndRowLayout) {
  for (int w : {1, 2, 3, 4, 5, 17}) {
    const int h = 3;
    const Palette pal = {{10, 20, 30, pcNoCollapse}, {40, 50, 60, pcNoCollapse}};
    Bytes bmp = MakeBmp8(w, h, pal);
    const std::size_t stride = (static_cast<std::size_t>(w) + 3) / 4 * 4;
    ASSERT_EQ(bmp.size(), 14u + 40 + 1024 + stride * h);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 1078u);  // info size + 14
    EXPECT_EQ(U32(bmp, 14), 40u);
    EXPECT_EQ(U32(bmp, 18), static_cast<std::uint32_t>(w));
    EXPECT_EQ(U32(bmp, 22), static_cast<std::uint32_t>(h));  // positive: bottom-up
    EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
    EXPECT_EQ(bmp[28] | bmp[29] << 8, 8);
    EXPECT_EQ(U32(bmp, 46), 256u);  // colours used
    EXPECT_EQ(U32(bmp, 50), 2u);    // important: the palette's count
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 62), Bytes({30, 20, 10, 0, 60, 50, 40, 0}));
    EXPECT_TRUE(std::all_of(bmp.begin() + 62, bmp.begin() + 1078, [](auto b) { return b == 0; }));
    // Row 0 (top) is stored last.
    EXPECT_EQ(BmpRow(bmp, w, h, 0), bmp.data() + 1078 + stride * 2);
  }
  for (auto [w, h] : {std::pair{0, 1}, {1, 0}, {-1, 5}}) {
    try {
      MakeBmp8(w, h, {});
      ADD_FAILURE() << w << "x" << h;
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), msg::kInvalidDimensions);
    }
  }
}

TEST(FrameBitmap, RowsCopiedUnchangedWithProgress) {
  const int w = 7, h = 70;
  Bytes px(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<std::uint8_t>(i % 200);
  std::vector<TGIFColor> colors(200);
  auto image = Picture(w, h, colors, px);
  std::vector<std::array<int, 3>> seen;
  image->OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, bool redraw,
                          const TGIFRect&, const std::string& message) {
    EXPECT_EQ(message, msg::kRendering);
    seen.push_back({stage, percent, redraw});
  };
  const TGIFSubImage& frame = image->Images()[0];
  const Palette pal = MakeFramePalette(frame, false, nullptr);
  ASSERT_EQ(pal.size(), 200u);
  const TFrameRendering r = RenderFrame(frame, pal, false, true, true);
  EXPECT_EQ(BmpRows(r.bmp, w, h), px);
  EXPECT_EQ(U32(r.bmp, 50), 200u);
  EXPECT_FALSE(r.mask_tried);  // not transparent
  EXPECT_TRUE(r.mask.empty());
  const std::vector<std::array<int, 3>> want = {
      {0, 0, 0}, {1, 0, 0}, {1, 45, 0}, {1, 91, 0}, {2, 100, 1}};
  EXPECT_EQ(seen, want);
}

TEST(FrameBitmap, FramesWithoutPixelsOrSize) {
  auto image = Picture(3, 2, {{1, 2, 3}}, Bytes(6, 0));
  TGIFSubImage& empty = image->Images().Add(std::make_unique<TGIFSubImage>(image.get()));
  empty.Descriptor().Width = 4;
  empty.Descriptor().Height = 2;
  const Palette pal = MakeFramePalette(empty, false, nullptr);
  TFrameRendering r = RenderFrame(empty, pal, false, true, false);
  EXPECT_EQ(BmpRows(r.bmp, 4, 2), Bytes(8, 0));
  empty.Descriptor().Width = 0;
  EXPECT_TRUE(RenderFrame(empty, pal, false, true, false).bmp.empty());
}

TEST(FrameMask, BitsRowsAndTheNoTransparentPixelCase) {
  // 18 wide: rows of 4 bytes (padded to 16 bits), most significant bit first.
  const int w = 18, h = 2;
  Bytes px(static_cast<std::size_t>(w) * h, 1);
  px[0] = 3;
  px[9] = 3;
  px[17] = 3;
  px[w + 8] = 3;
  auto image = Picture(w, h, std::vector<TGIFColor>(4), px, 3);
  const TGIFSubImage& frame = image->Images()[0];
  const TFrameRendering r =
      RenderFrame(frame, MakeFramePalette(frame, false, nullptr), false, true, false);
  EXPECT_TRUE(r.mask_tried);
  EXPECT_EQ(r.mask, Bytes({0x80, 0x40, 0x40, 0x00, 0x00, 0x80, 0x00, 0x00}));
  // Not asked for: not built, not tried.
  const TFrameRendering again =
      RenderFrame(frame, MakeFramePalette(frame, false, nullptr), false, false, false);
  EXPECT_FALSE(again.mask_tried);
  // Transparent, but no pixel holds the index: tried, and no mask.
  auto none = Picture(4, 1, std::vector<TGIFColor>(4), {0, 1, 2, 0}, 3);
  const TGIFSubImage& f2 = none->Images()[0];
  const TFrameRendering r2 =
      RenderFrame(f2, MakeFramePalette(f2, false, nullptr), false, true, false);
  EXPECT_TRUE(r2.mask_tried);
  EXPECT_TRUE(r2.mask.empty());
}

TEST(CubeDither, MatchesTheRulesOnGradientsAndNoise) {
  std::mt19937 rng(5);
  std::vector<TGIFColor> colors(256);
  for (int i = 0; i < 256; ++i) {
    colors[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                 static_cast<std::uint8_t>((i * 37) & 255)};
  }
  for (auto [w, h] : {std::pair{1, 5}, {2, 2}, {33, 17}, {256, 9}}) {
    for (int kind = 0; kind < 3; ++kind) {
      Bytes px(static_cast<std::size_t>(w) * h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          px[static_cast<std::size_t>(y) * w + x] =
              static_cast<std::uint8_t>(kind == 0   ? x * 255 / std::max(w - 1, 1)
                                        : kind == 1 ? (x + 3 * y) & 255
                                                    : rng() & 255);
      // Only 200 table entries: indexes beyond count as black.
      const std::vector<TGIFColor> table(colors.begin(), colors.begin() + 200);
      auto image = Picture(w, h, table, px);
      const TGIFSubImage& frame = image->Images()[0];
      const Palette pal = MakeFramePalette(frame, true, nullptr);
      ASSERT_EQ(pal.size(), 216u);
      const TFrameRendering r = RenderFrame(frame, pal, true, true, false);
      EXPECT_EQ(BmpRows(r.bmp, w, h), ReferenceDither(px, w, h, table))
          << w << "x" << h << " " << kind;
      EXPECT_EQ(U32(r.bmp, 50), 216u);
    }
  }
}

// Transparent pixels of a dithered frame all hold the cube entry of the
// transparent colour itself, whatever error reached them.
TEST(CubeDither, TransparentPixelsKeepOneEntry) {
  const std::vector<TGIFColor> table = {{250, 10, 10}, {0, 0, 255}, {130, 130, 130}};
  Bytes px(40 * 10);
  for (std::size_t i = 0; i < px.size(); ++i)
    px[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 1 : (i / 3) % 3 == 0 ? 2 : 0);
  auto image = Picture(40, 10, table, px, 1);
  const TGIFSubImage& frame = image->Images()[0];
  const TFrameRendering r =
      RenderFrame(frame, MakeFramePalette(frame, true, nullptr), true, true, false);
  const Bytes rows = BmpRows(r.bmp, 40, 10);
  const Bytes reference = ReferenceDither(px, 40, 10, table);
  for (std::size_t i = 0; i < px.size(); ++i) {
    EXPECT_EQ(rows[i], px[i] == 1 ? CubeIndex(0, 0, 255) : reference[i]) << i;
  }
  EXPECT_FALSE(r.mask.empty());
}

TEST(Palettes, PictureAndFramePaletteRules) {
  auto flagged = [](std::vector<TGIFColor> c) {
    Palette p;
    for (auto& e : c) p.push_back({e.red, e.green, e.blue, pcNoCollapse});
    return p;
  };
  const std::vector<TGIFColor> global = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  const std::vector<TGIFColor> local = {{9, 9, 9}, {8, 8, 8}};
  SimplePicture pic;
  pic.width = pic.height = 1;
  pic.colors = global;
  pic.frames.push_back({0, 0, 1, 1, {0}, {}, false, {}, {}});
  pic.frames.push_back({0, 0, 1, 1, {0}, local, false, {}, {}});
  auto image = BuildSimpleImage(pic);
  EXPECT_EQ(MakePicturePalette(*image, false), flagged(global));
  EXPECT_EQ(MakeFramePalette(image->Images()[0], false, nullptr), flagged(global));
  EXPECT_EQ(MakeFramePalette(image->Images()[1], false, nullptr), flagged(local));
  // A replaced picture palette reaches the frames without a local map.
  const Palette replaced = {{0, 0, 0, 0}};
  EXPECT_EQ(MakeFramePalette(image->Images()[0], false, &replaced), replaced);
  EXPECT_EQ(MakeFramePalette(image->Images()[1], false, &replaced), flagged(local));
  // Dithering: the cube, for the picture and every frame.
  const Palette cube = CubePalette();
  ASSERT_EQ(cube.size(), 216u);
  EXPECT_EQ(cube[180], (PaletteEntry{255, 0, 0, pcNoCollapse}));
  EXPECT_EQ(cube[215], (PaletteEntry{255, 255, 255, pcNoCollapse}));
  EXPECT_EQ(MakePicturePalette(*image, true), cube);
  EXPECT_EQ(MakeFramePalette(image->Images()[1], true, nullptr), cube);

  // No global map: the first frame's local map, else no table at all.
  image->GlobalColorMap().Clear();
  image->Images().Remove(0);
  EXPECT_EQ(MakePicturePalette(*image, false), flagged(local));
  image->Images()[0].ColorMap().Clear();
  for (bool picture : {true, false}) {
    try {
      if (picture) {
        MakePicturePalette(*image, false);
      } else {
        MakeFramePalette(image->Images()[0], false, nullptr);
      }
      ADD_FAILURE() << picture;
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), msg::kNoColorTable);
    }
  }
  image->Images().Clear();
  EXPECT_TRUE(MakePicturePalette(*image, false).empty());
}

}  // namespace
}  // namespace rf::gif
