#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/import/bitmapimport.h"
#include "gif/import/colormapoptimize.h"
#include "tests/gif_reduce/test_pixels.h"

namespace rf::gif {
namespace {

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const GIFException& e) {
    return e.what();
  }
  return "";
}

std::vector<std::uint8_t> Pixels(const TGIFSubImage& frame) {
  return {frame.Pixels().begin(), frame.Pixels().end()};
}

std::vector<TGIFColor> Colors(const TGIFColorMap& map) {
  return {map.Colors().begin(), map.Colors().end()};
}

TEST(AssignBitmap, IndexedBitmapsAreTakenOverUnchanged) {
  const Palette pal = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {10, 11, 12, 0}};
  const std::vector<std::uint8_t> idx = {3, 0, 1, 2, 2, 1, 0, 3, 1, 1};
  for (int bits : {1, 4, 8}) {
    SCOPED_TRACE(bits);
    const Palette used(pal.begin(), pal.begin() + (bits == 1 ? 2 : 4));
    std::vector<std::uint8_t> want = idx;
    if (bits == 1)
      for (auto& v : want) v &= 1;
    TGIFImage image;
    image.ColorReduction = rmMonochrome;  // must not be used
    TGIFSubImage frame(&image);
    AssignBitmap(frame, BitmapFromIndexes(5, 2, bits, want, used));
    EXPECT_EQ(frame.Width(), 5);
    EXPECT_EQ(frame.Height(), 2);
    EXPECT_EQ(Pixels(frame), want);
    ASSERT_EQ(frame.ColorMap().Count(), static_cast<int>(used.size()));
    for (int i = 0; i < frame.ColorMap().Count(); ++i)
      EXPECT_EQ(frame.ColorMap()[i], (TGIFColor{used[i].red, used[i].green, used[i].blue}));
  }
}

TEST(AssignBitmap, TrueColourGoesOnTheCubeByDefault) {
  TGIFImage image;
  TGIFSubImage frame(&image);
  std::vector<std::string> progress;
  image.OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, bool, const TGIFRect&,
                         const std::string& message) {
    progress.push_back(std::to_string(stage) + ":" + std::to_string(percent) + ":" + message);
  };
  AssignBitmap(frame, BitmapFromRgb(2, 1, std::vector<std::uint8_t>{255, 0, 0, 0, 0, 255}));
  EXPECT_EQ(frame.ColorMap().Count(), 216);
  EXPECT_EQ(Pixels(frame), (std::vector<std::uint8_t>{180, 5}));
  EXPECT_EQ(progress, (std::vector<std::string>{"0:0:Converting...", "1:0:Converting...",
                                                "2:100:Converting..."}));
}

TEST(AssignBitmap, WithoutReductionCollectsColoursInOrderOfAppearance) {
  TGIFImage image;
  image.ColorReduction = rmNone;
  TGIFSubImage frame(&image);
  const std::vector<std::uint8_t> rgb = {9, 9, 9, 1, 2, 3, 9, 9, 9, 4, 5, 6, 1, 2, 3, 9, 9, 9};
  AssignBitmap(frame, BitmapFromRgb(3, 2, rgb));
  EXPECT_EQ(Pixels(frame), (std::vector<std::uint8_t>{0, 1, 0, 2, 1, 0}));
  EXPECT_EQ(Colors(frame.ColorMap()), (std::vector<TGIFColor>{{9, 9, 9}, {1, 2, 3}, {4, 5, 6}}));

  // 257 colours do not fit.
  std::vector<std::uint8_t> many;
  for (int i = 0; i < 257; ++i) Append3(many, i, i / 256, 0);
  EXPECT_EQ(ErrorOf([&] { AssignBitmap(frame, BitmapFromRgb(257, 1, many)); }),
            msg::kColorTableOverflow);
  many.resize(256 * 3);
  AssignBitmap(frame, BitmapFromRgb(256, 1, many));
  EXPECT_EQ(frame.ColorMap().Count(), 256);
}

TEST(AssignBitmap, EmptyBitmapsAndUnknownOptionsLeaveTheFrameEmpty) {
  TGIFImage image;
  TGIFSubImage frame(&image);
  AssignBitmap(frame, BitmapFromRgb(1, 1, std::vector<std::uint8_t>{1, 2, 3}));
  ASSERT_FALSE(frame.Empty());
  AssignBitmap(frame, PixelBitmap());
  EXPECT_TRUE(frame.Empty());
  EXPECT_EQ(frame.ColorMap().Count(), 0);
  image.DitherMode = static_cast<TDitherMode>(9);
  AssignBitmap(frame, BitmapFromRgb(1, 1, std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_TRUE(frame.Empty());
  EXPECT_EQ(ErrorOf([&] {
              AssignBitmap(frame, PixelBitmap(70000, 1, 8, {{0, 0, 0, 0}}));
            }),
            msg::kInvalidDimensions);
}

TEST(OptimizeColorMap, SortsByUseRemapsAndCutsUnusedEntries) {
  TGIFImage image;
  image.GlobalColorMap().SetCount(4);
  for (int i = 0; i < 4; ++i) image.GlobalColorMap()[i] = {static_cast<std::uint8_t>(i * 10), 0, 0};
  // Two frames share the global map; the second is transparent on entry 0.
  auto add = [&](std::vector<std::uint8_t> px) -> TGIFSubImage& {
    auto f = std::make_unique<TGIFSubImage>(&image);
    f->Descriptor().Width = static_cast<std::uint16_t>(px.size());
    f->Descriptor().Height = 1;
    std::copy(px.begin(), px.end(), f->AllocatePixels().begin());
    return image.Images().Add(std::move(f));
  };
  TGIFSubImage& a = add({2, 2, 0, 1});
  TGIFSubImage& b = add({2, 0, 0, 2});
  auto gce = std::make_unique<TGIFGraphicControlExtension>(&b);
  gce->SetTransparent(true);
  gce->SetTransparentColorIndex(0);
  b.Extensions().Add(std::move(gce));
  b.SetTransparent(true);

  OptimizeColorMap(image, image.GlobalColorMap());
  // Uses: entry 2 four times, entry 0 three, entry 1 once, entry 3 never.
  EXPECT_EQ(Colors(image.GlobalColorMap()),
            (std::vector<TGIFColor>{{20, 0, 0}, {0, 0, 0}, {10, 0, 0}}));
  EXPECT_TRUE(image.GlobalColorMap().Optimized());
  EXPECT_EQ(Pixels(a), (std::vector<std::uint8_t>{0, 0, 1, 2}));
  EXPECT_EQ(Pixels(b), (std::vector<std::uint8_t>{0, 1, 1, 0}));
  EXPECT_EQ(b.TransparentIndex(), 1);
}

TEST(OptimizeColorMap, LeavesSmallAndUnusedMapsAlone) {
  TGIFImage image;
  image.GlobalColorMap().SetCount(3);
  OptimizeColorMap(image, image.GlobalColorMap());  // no frames
  EXPECT_EQ(image.GlobalColorMap().Count(), 3);
  EXPECT_FALSE(image.GlobalColorMap().Optimized());
  TGIFSubImage frame(&image);
  frame.ColorMap().SetCount(1);
  OptimizeColorMap(frame);
  EXPECT_EQ(frame.ColorMap().Count(), 1);
}

TEST(ApplyTransparency, AddsAColourOrGivesUpTheLeastUsedOne) {
  TGIFImage image;
  image.ColorReduction = rmNone;
  TGIFSubImage frame(&image);
  AssignBitmap(frame,
               BitmapFromRgb(4, 1, std::vector<std::uint8_t>{1, 1, 1, 2, 2, 2, 2, 2, 2, 3, 3, 3}));
  ApplyTransparency(frame, std::vector<std::uint8_t>{0, 0, 0, 1});
  ASSERT_TRUE(frame.Transparent());
  ASSERT_NE(frame.GraphicControlExtension(), nullptr);
  // (3, 3, 3) was used only by the transparent pixel and is gone.
  EXPECT_EQ(Colors(frame.ColorMap()), (std::vector<TGIFColor>{{1, 1, 1}, {2, 2, 2}, {0, 0, 0}}));
  EXPECT_EQ(Pixels(frame), (std::vector<std::uint8_t>{0, 1, 1, 2}));
  EXPECT_EQ(frame.TransparentIndex(), 2);

  // A full map: the least used colour goes to its nearest neighbour.
  std::vector<std::uint8_t> rgb;
  for (int i = 0; i < 256; ++i) Append3(rgb, i, 0, 0);
  Append3(rgb, 0, 0, 0);
  Append3(rgb, 1, 0, 0);
  TGIFSubImage full(&image);
  AssignBitmap(full, BitmapFromRgb(258, 1, rgb));
  std::vector<std::uint8_t> mask(258, 0);
  mask[257] = 1;
  ApplyTransparency(full, mask);
  // Red 255, used once and last among equals, is given up for red 254.
  EXPECT_EQ(full.ColorMap().Count(), 256);
  EXPECT_EQ(full.TransparentIndex(), 255);
  const auto px = Pixels(full);
  EXPECT_EQ(std::count(px.begin(), px.end(), 255), 1);
  EXPECT_EQ(px[257], 255);
  EXPECT_EQ(full.ColorMap()[px[255]], (TGIFColor{254, 0, 0}));
}

TEST(AssignFrame, CopiesPixelsMapsAndExtensions) {
  TGIFImage image;
  image.ColorReduction = rmNone;
  TGIFSubImage source(&image);
  AssignBitmap(source, BitmapFromRgb(2, 1, std::vector<std::uint8_t>{1, 1, 1, 2, 2, 2}));
  source.Descriptor().Left = 7;
  ApplyTransparency(source, std::vector<std::uint8_t>{1, 0});
  TGIFSubImage copy(&image);
  AssignFrame(copy, source);
  EXPECT_EQ(copy.Left(), 7);
  EXPECT_EQ(Pixels(copy), Pixels(source));
  EXPECT_EQ(Colors(copy.ColorMap()), Colors(source.ColorMap()));
  EXPECT_TRUE(copy.Transparent());
  ASSERT_NE(copy.GraphicControlExtension(), nullptr);
  EXPECT_NE(copy.GraphicControlExtension(), source.GraphicControlExtension());
  EXPECT_EQ(copy.TransparentIndex(), source.TransparentIndex());
}

}  // namespace
}  // namespace rf::gif
