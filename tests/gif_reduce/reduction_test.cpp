#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/reduce/colorreduction.h"
#include "gif/reduce/pixelbitmap.h"
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

TEST(PixelBitmap, ReportsBadFormatsSizesAndRows) {
  struct Case {
    const char* what;
    std::function<void()> run;
    const char* message;
  };
  const PixelBitmap rgb(3, 2, 24);
  const Case cases[] = {
      {"2 bits", [] { PixelBitmap(2, 2, 2); }, msg::kUnsupportedBitmapFormat},
      {"15 bits", [] { PixelBitmap(2, 2, 15); }, msg::kUnsupportedBitmapFormat},
      {"zero width", [] { PixelBitmap(0, 2, 8); }, msg::kInvalidDimensions},
      {"negative height", [] { PixelBitmap(2, -1, 8); }, msg::kInvalidDimensions},
      {"huge", [] { PixelBitmap(100000, 100000, 8); }, msg::kInvalidDimensions},
      {"row -1", [&] { rgb.ScanLine(-1); }, msg::kScanLineOutOfRange},
      {"row 2", [&] { rgb.ScanLine(2); }, msg::kScanLineOutOfRange},
      {"read as 16",
       [&] {
         std::vector<std::uint8_t> r;
         rgb.ReadRow(0, 16, r);
       },
       msg::kUnsupportedPixelFormat},
      {"read as 32",
       [&] {
         std::vector<std::uint8_t> r;
         rgb.ReadRow(0, 32, r);
       },
       msg::kUnsupportedPixelFormat},
      {"24 as 8",
       [&] {
         std::vector<std::uint8_t> r;
         rgb.ReadRow(0, 8, r);
       },
       msg::kUnsupportedPixelFormat},
      {"short buffer", [] { BitmapFromRgb(4, 4, std::vector<std::uint8_t>(47)); },
       msg::kInvalidDimensions},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.run), c.message) << c.what;
}

TEST(PixelBitmap, ReadsEveryDepthAs24Bits) {
  const Palette pal = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
  struct Case {
    int bits;
    std::vector<std::uint8_t> row;  // the bitmap's own first row bytes
    std::vector<std::uint8_t> bgr;  // of the first two pixels
  };
  const Case cases[] = {
      {1, {0b0100'0000}, {30, 20, 10, 60, 50, 40}},
      {4, {0x21}, {90, 80, 70, 60, 50, 40}},
      {8, {1, 7}, {60, 50, 40, 0, 0, 0}},  // 7 is past the palette: black
      {16, {0x1F, 0x7C, 0xE0, 0x03}, {255, 0, 255, 0, 255, 0}},
      {24, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}},
      {32, {1, 2, 3, 99, 4, 5, 6, 99}, {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    PixelBitmap b(2, 1, c.bits, pal);
    std::copy(c.row.begin(), c.row.end(), b.ScanLine(0));
    std::vector<std::uint8_t> out;
    b.ReadRow(0, 24, out);
    EXPECT_EQ(out, c.bgr) << c.bits << " bits";
  }
}

TEST(ColorReduction, EachMethodHasItsPalette) {
  const PixelBitmap src = BitmapFromRgb(2, 1, std::vector<std::uint8_t>{255, 0, 0, 0, 0, 255});
  struct Case {
    int method;
    std::size_t size;
    PaletteEntry first;
    PaletteEntry last;
  };
  const Case cases[] = {
      {rmWindows20, 20, {0, 0, 0, 0}, {255, 255, 255, 0}},
      {rmWindows256, 256, {0, 0, 0, 0}, {255, 255, 255, 0}},
      {rmWindowsGray, 4, {0, 0, 0, pcNoCollapse}, {255, 255, 255, pcNoCollapse}},
      {rmMonochrome, 2, {0, 0, 0, pcNoCollapse}, {255, 255, 255, pcNoCollapse}},
      {rmGrayScale, 256, {0, 0, 0, pcNoCollapse}, {255, 255, 255, pcNoCollapse}},
      {rmNetscape, 216, {0, 0, 0, 0}, {255, 255, 255, 0}},
      {rmQuantize, 256, {0, 0, 255, 0}, {0, 0, 0, 0}},
      {rmQuantizeWindows, 256, {0, 0, 0, 0}, {255, 255, 255, 0}},
  };
  for (const Case& c : cases) {
    ReductionSettings s;
    s.method = static_cast<TColorReduction>(c.method);
    const PixelBitmap out = ReduceColors(src, s);
    ASSERT_EQ(out.BitsPerPixel(), 8) << c.method;
    EXPECT_EQ(out.GetPalette().size(), c.size) << c.method;
    EXPECT_EQ(out.GetPalette().front(), c.first) << c.method;
    EXPECT_EQ(out.GetPalette().back(), c.last) << c.method;
  }
  // The halftone palette and the quantized one of method 8 keep the static
  // colours at both ends.
  ReductionSettings s;
  s.method = rmQuantizeWindows;
  const PixelBitmap out = ReduceColors(src, s);
  EXPECT_EQ(out.GetPalette()[10], (PaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(out.GetPalette()[11], (PaletteEntry{255, 0, 0, 0}));
  EXPECT_EQ(out.ScanLine(0)[0], 11);
  EXPECT_EQ(out.ScanLine(0)[1], 10);
}

TEST(ColorReduction, PureRedBecomesCubeIndex180ByDefault) {
  const PixelBitmap src =
      BitmapFromRgb(3, 1, std::vector<std::uint8_t>{255, 0, 0, 0, 0, 0, 255, 255, 255});
  const PixelBitmap out = ReduceColors(src, ReductionSettings{});
  EXPECT_EQ(out.ScanLine(0)[0], 180);
  EXPECT_EQ(out.ScanLine(0)[1], 0);
  EXPECT_EQ(out.ScanLine(0)[2], 215);
}

TEST(ColorReduction, QuantizingWithFewerBitsGivesFewerColours) {
  std::vector<std::uint8_t> rgb;
  for (int i = 0; i < 64 * 64; ++i) Append3(rgb, i * 4, i / 16, i * 7);
  const PixelBitmap src = BitmapFromRgb(64, 64, rgb);
  for (int bits : {1, 3, 8}) {
    ReductionSettings s;
    s.method = rmQuantize;
    s.bits = bits;
    const PixelBitmap out = ReduceColors(src, s);
    EXPECT_EQ(out.GetPalette().size(), std::size_t{1} << bits);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) ASSERT_LT(out.ScanLine(y)[x], 1 << bits);
  }
}

TEST(ColorReduction, UnknownMethodsAndModesAnswerAnEmptyBitmap) {
  const PixelBitmap src = BitmapFromRgb(1, 1, std::vector<std::uint8_t>{1, 2, 3});
  ReductionSettings s;
  s.method = static_cast<TColorReduction>(10);
  EXPECT_TRUE(ReduceColors(src, s).Empty());
  s.method = rmNetscape;
  s.dither_mode = static_cast<TDitherMode>(7);
  EXPECT_TRUE(ReduceColors(src, s).Empty());
  s.method = rmNone;
  const PixelBitmap copy = ReduceColors(src, s);
  EXPECT_EQ(copy.BitsPerPixel(), 24);
  EXPECT_EQ(copy.ScanLine(0)[2], 1);
  s.method = rmPalette;
  s.dither_mode = dmNearest;
  EXPECT_EQ(ErrorOf([&] { ReduceColors(src, s); }), msg::kColorTableEmpty);
  s.palette = {{1, 2, 4, 0}, {0, 0, 0, 0}};
  EXPECT_EQ(ReduceColors(src, s).ScanLine(0)[0], 0);
  s.palette = {{0, 0, 0, 0}, {1, 2, 4, 0}};
  EXPECT_EQ(ReduceColors(src, s).ScanLine(0)[0], 0) << "the cell holds entry 0";
}

}  // namespace
}  // namespace rf::gif
