#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/import/bitmapimport.h"
#include "gif/import/colormapoptimize.h"
#include "tools/gifconvert/bmpfile.h"
#include "tools/gifconvert/gifconvert.h"

namespace rf::gif {
namespace {

void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  v[at] = static_cast<std::uint8_t>(x);
  v[at + 1] = static_cast<std::uint8_t>(x >> 8);
}
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  Put16(v, at, x);
  Put16(v, at + 2, x >> 16);
}

// A BMP with a 40-byte info header: `extra` (colour table or masks) after
// the header, then the bits.
std::vector<std::uint8_t> Bmp(int width, int height, int bits, std::uint32_t compression,
                              const std::vector<std::uint8_t>& extra,
                              const std::vector<std::uint8_t>& pixels) {
  std::vector<std::uint8_t> f(54 + extra.size());
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 10, static_cast<std::uint32_t>(54 + extra.size()));
  Put32(f, 14, 40);
  Put32(f, 18, static_cast<std::uint32_t>(width));
  Put32(f, 22, static_cast<std::uint32_t>(height));
  Put16(f, 26, 1);
  Put16(f, 28, static_cast<std::uint32_t>(bits));
  Put32(f, 30, compression);
  std::copy(extra.begin(), extra.end(), f.begin() + 54);
  f.insert(f.end(), pixels.begin(), pixels.end());
  Put32(f, 2, static_cast<std::uint32_t>(f.size()));
  return f;
}

std::vector<std::uint8_t> Row24(const PixelBitmap& b, int y) {
  std::vector<std::uint8_t> row;
  b.ReadRow(y, 24, row);
  return row;
}

TEST(ReadBmp, ReadsTheCommonLayouts) {
  // 2x2, 24 bits, bottom-up: the first stored row is the lower one.
  const auto bottom_up = Bmp(2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
  PixelBitmap b = ReadBmp(bottom_up);
  EXPECT_EQ(Row24(b, 0), (std::vector<std::uint8_t>{7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(Row24(b, 1), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
  // Top-down (negative height).
  b = ReadBmp(Bmp(2, -2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
  EXPECT_EQ(Row24(b, 0), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
  // 8 bits with a 2-entry table (colours used = 0 means 256: give 2).
  auto indexed = Bmp(3, 1, 8, 0, {10, 20, 30, 0, 40, 50, 60, 0}, {1, 0, 1, 0});
  Put32(indexed, 46, 2);
  b = ReadBmp(indexed);
  EXPECT_EQ(b.BitsPerPixel(), 8);
  EXPECT_EQ(b.GetPalette(), (Palette{{30, 20, 10, 0}, {60, 50, 40, 0}}));
  // 16 bits with 5-6-5 masks: pure green, pure red.
  b = ReadBmp(
      Bmp(2, 1, 16, 3, {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}, {0xE0, 0x07, 0x00, 0xF8}));
  EXPECT_EQ(Row24(b, 0), (std::vector<std::uint8_t>{0, 255, 0, 0, 0, 255}));
  // 32 bits with masks in another order (red lowest).
  b = ReadBmp(Bmp(1, 1, 32, 3, {0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}, {1, 2, 3, 0}));
  EXPECT_EQ(Row24(b, 0), (std::vector<std::uint8_t>{3, 2, 1}));
}

TEST(ReadBmp, RefusesBrokenAndUnsupportedFiles) {
  const auto good = Bmp(2, 2, 24, 0, {}, std::vector<std::uint8_t>(16, 0));
  struct Case {
    const char* what;
    std::function<std::vector<std::uint8_t>()> make;
    const char* message;
  };
  const Case cases[] = {
      {"not a BMP",
       [&] {
         auto f = good;
         f[0] = 'X';
         return f;
       },
       msg::kBitmapNotValid},
      {"cut short",
       [&] {
         auto f = good;
         f.pop_back();
         return f;
       },
       msg::kBitmapNotValid},
      {"header only",
       [&] {
         auto f = good;
         f.erase(f.begin() + 20, f.end());
         return f;
       },
       msg::kBitmapNotValid},
      {"zero width",
       [&] {
         auto f = good;
         Put32(f, 18, 0);
         return f;
       },
       msg::kBitmapNotValid},
      {"bits past the end",
       [&] {
         auto f = good;
         Put32(f, 10, 0xFFFFFFF0u);
         return f;
       },
       msg::kBitmapNotValid},
      {"2 bits",
       [&] {
         auto f = good;
         Put16(f, 28, 2);
         return f;
       },
       msg::kUnsupportedBitmapFormat},
      {"RLE8",
       [&] {
         auto f = good;
         Put16(f, 28, 8);
         Put32(f, 30, 1);
         return f;
       },
       msg::kUnsupportedBitmapFormat},
  };
  for (const Case& c : cases) {
    try {
      ReadBmp(c.make());
      ADD_FAILURE() << c.what << ": no error";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
  }
}

TEST(ConvertPicture, AGifKeepsItsFramesPlacesAndTransparency) {
  TGIFImage source;
  source.Header().Descriptor().Width = 10;
  source.Header().Descriptor().Height = 10;
  source.ColorReduction = rmNone;
  for (int i = 0; i < 2; ++i) {
    auto frame = std::make_unique<TGIFSubImage>(&source);
    std::vector<std::uint8_t> rgb;
    for (int p = 0; p < 6; ++p) {
      rgb.push_back(static_cast<std::uint8_t>(p * 40));
      rgb.push_back(static_cast<std::uint8_t>(i * 100));
      rgb.push_back(7);
    }
    AssignBitmap(*frame, BitmapFromRgb(3, 2, rgb));
    frame->Descriptor().Left = static_cast<std::uint16_t>(i * 5);
    if (i == 1) ApplyTransparency(*frame, std::vector<std::uint8_t>{0, 1, 0, 0, 0, 1});
    source.Images().Add(std::move(frame));
  }
  ByteVector gif;
  source.SaveToStream(gif);

  ConvertOptions options;
  options.method = rmGrayScale;
  TGIFImage result;
  result.LoadFromBytes(ConvertPicture(gif, options));
  ASSERT_EQ(result.Images().Count(), 2u);
  EXPECT_EQ(result.Width(), 10);
  EXPECT_EQ(result.Images()[1].Left(), 5);
  EXPECT_FALSE(result.Images()[0].Transparent());
  const TGIFSubImage& second = result.Images()[1];
  ASSERT_TRUE(second.Transparent());
  for (int p = 0; p < 6; ++p)
    EXPECT_EQ(second.Pixels()[static_cast<std::size_t>(p)] == second.TransparentIndex(),
              p == 1 || p == 5)
        << p;
  // Grey: each opaque pixel's colour has equal channels.
  const TGIFColor c = second.ActiveColorMap()[second.Pixels()[0]];
  EXPECT_EQ(c.red, c.green);
  EXPECT_EQ(c.green, c.blue);
}

}  // namespace
}  // namespace rf::gif
