#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/import/colormapoptimize.h"
#include "gif/import/imageoptimize.h"

namespace rf::gif {
namespace {

// Adds a frame with its own local map.
TGIFSubImage& AddFrame(TGIFImage& image, const std::vector<TGIFColor>& colors,
                       const std::vector<std::uint8_t>& pixels) {
  auto frame = std::make_unique<TGIFSubImage>(&image);
  frame->Descriptor().Width = static_cast<std::uint16_t>(pixels.size());
  frame->Descriptor().Height = 1;
  std::copy(pixels.begin(), pixels.end(), frame->AllocatePixels().begin());
  for (const TGIFColor& c : colors) frame->ColorMap().Add(c);
  return image.Images().Add(std::move(frame));
}

std::vector<TGIFColor> SeenColors(const TGIFSubImage& frame) {
  std::vector<TGIFColor> seen;
  for (std::uint8_t p : frame.Pixels()) seen.push_back(frame.ActiveColorMap()[p]);
  return seen;
}

TEST(OptimizeColorMaps, RefusesUnknownMethodsAndModes) {
  TGIFImage image;
  for (auto [method, dither] : {std::pair{10, 0}, {-1, 0}, {6, 7}}) {
    ReductionSettings s;
    s.method = static_cast<TColorReduction>(method);
    s.dither_mode = static_cast<TDitherMode>(dither);
    try {
      OptimizeColorMaps(image, s);
      ADD_FAILURE() << method << " " << dither;
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), msg::kInvalidReductionMethod);
    }
  }
}

TEST(OptimizeColorMaps, BringsFramesToOneGlobalMap) {
  TGIFImage image;
  std::vector<std::string> stages;
  image.OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, bool, const TGIFRect&,
                         const std::string& message) {
    stages.push_back(std::to_string(stage) + ":" + std::to_string(percent) + ":" + message);
  };
  AddFrame(image, {{255, 0, 0}, {0, 0, 0}}, {0, 1, 0});
  AddFrame(image, {{0, 0, 250}, {255, 255, 255}, {9, 9, 9}}, {1, 0, 0, 1});
  ReductionSettings s;  // the cube, nearest colour
  OptimizeColorMaps(image, s);
  EXPECT_EQ(stages, (std::vector<std::string>{"0:0:Optimizing...", "1:50:Optimizing...",
                                              "1:100:Optimizing...", "2:100:Optimizing..."}));
  for (const auto& frame : image.Images()) EXPECT_TRUE(frame->ColorMap().Empty());
  // Only the four cube colours in use remain, most used first; blue 250 is
  // on level (250 + 3) / 51 = 4.
  ASSERT_EQ(image.GlobalColorMap().Count(), 4);
  EXPECT_TRUE(image.GlobalColorMap().Optimized());
  EXPECT_EQ(SeenColors(image.Images()[0]),
            (std::vector<TGIFColor>{{255, 0, 0}, {0, 0, 0}, {255, 0, 0}}));
  EXPECT_EQ(SeenColors(image.Images()[1]),
            (std::vector<TGIFColor>{{255, 255, 255}, {0, 0, 204}, {0, 0, 204}, {255, 255, 255}}));
}

TEST(OptimizeColorMaps, TransparentPixelsShareOneEntry) {
  TGIFImage image;
  std::vector<std::uint8_t> px;
  for (int i = 0; i < 300; ++i) px.push_back(static_cast<std::uint8_t>(i % 256));
  std::vector<TGIFColor> ramp;
  for (int i = 0; i < 256; ++i)
    ramp.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7});
  TGIFSubImage& a = AddFrame(image, ramp, px);
  SetTransparentIndex(a, 3);
  TGIFSubImage& b = AddFrame(image, {{1, 2, 3}, {200, 100, 0}}, {0, 1, 1, 0});
  ReductionSettings s;
  s.method = rmQuantize;
  s.dither_mode = dmFloydSteinberg;
  OptimizeColorMaps(image, s);
  ASSERT_TRUE(a.Transparent());
  const std::uint8_t t = a.TransparentIndex();
  EXPECT_LT(t, image.GlobalColorMap().Count());
  for (std::size_t i = 0; i < px.size(); ++i) EXPECT_EQ(a.Pixels()[i] == t, px[i] == 3) << i;
  EXPECT_FALSE(b.Transparent());
  EXPECT_EQ(SeenColors(b),
            (std::vector<TGIFColor>{{1, 2, 3}, {200, 100, 0}, {200, 100, 0}, {1, 2, 3}}));
}

TEST(OptimizeColorMaps, MethodZeroSortsEachMapInPlace) {
  TGIFImage image;
  TGIFSubImage& f = AddFrame(image, {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, {2, 2, 1});
  ReductionSettings s;
  s.method = rmNone;
  OptimizeColorMaps(image, s);
  EXPECT_EQ(f.ColorMap().Count(), 2);
  EXPECT_EQ(f.ColorMap()[0], (TGIFColor{3, 3, 3}));
  EXPECT_EQ(SeenColors(f), (std::vector<TGIFColor>{{3, 3, 3}, {3, 3, 3}, {2, 2, 2}}));
}

}  // namespace
}  // namespace rf::gif
