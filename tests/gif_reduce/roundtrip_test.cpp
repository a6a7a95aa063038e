// Pictures reduced by every method and dither mode, written by our writer
// and read back by giflib: the same pixels and the same colours.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gif/gifimage.h"
#include "gif/import/bitmapimport.h"
#include "tests/gif_reduce/test_pixels.h"
#include "tests/support/giflib_memory.h"

namespace rf::gif {
namespace {

// A 24-bit picture of many colours: smooth ramps crossed with a pattern.
PixelBitmap Photo(int width, int height) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      Append3(rgb, x * 255 / (width - 1), y * 255 / (height - 1), (x * x + y * 3) & 255);
  return BitmapFromRgb(width, height, rgb);
}

// The same with 200 colours, for method 0 (no reduction).
PixelBitmap FewColours(int width, int height) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int c = (x + y * 7) % 200;
      Append3(rgb, c, 255 - c, c * 3);
    }
  return BitmapFromRgb(width, height, rgb);
}

void ExpectGiflibReadsTheSame(const TGIFImage& image, const std::vector<std::uint8_t>& stream) {
  rf::test::GiflibMemorySource source(stream);
  int error = 0;
  GifFileType* gif = source.Open(&error);
  ASSERT_NE(gif, nullptr) << GifErrorString(error);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK) << GifErrorString(gif->Error);
  ASSERT_EQ(gif->ImageCount, 1);
  const TGIFSubImage& frame = image.Images()[0];
  const SavedImage& saved = gif->SavedImages[0];
  ASSERT_EQ(saved.ImageDesc.Width, frame.Width());
  ASSERT_EQ(saved.ImageDesc.Height, frame.Height());
  EXPECT_EQ(std::memcmp(saved.RasterBits, frame.Pixels().data(), frame.Pixels().size()), 0);
  const ColorMapObject* map = saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
  ASSERT_NE(map, nullptr);
  const TGIFColorMap& ours = frame.ActiveColorMap();
  ASSERT_GE(map->ColorCount, ours.Count());
  for (int i = 0; i < ours.Count(); ++i) {
    EXPECT_EQ(map->Colors[i].Red, ours[i].red) << i;
    EXPECT_EQ(map->Colors[i].Green, ours[i].green) << i;
    EXPECT_EQ(map->Colors[i].Blue, ours[i].blue) << i;
  }
  DGifCloseFile(gif, &error);
}

TEST(GiflibRoundTrip, EveryMethodAndDitherMode) {
  const PixelBitmap photo = Photo(61, 47);
  const PixelBitmap few = FewColours(61, 47);
  for (int method = 0; method <= 9; ++method) {
    for (int dither = 0; dither <= 6; ++dither) {
      SCOPED_TRACE(testing::Message() << "method " << method << " dither " << dither);
      TGIFImage image;
      image.ColorReduction = static_cast<TColorReduction>(method);
      image.DitherMode = static_cast<TDitherMode>(dither);
      image.ReductionBits = 5;
      image.ReductionPalette = {{0, 0, 0, 0},   {255, 0, 0, 0},     {0, 255, 0, 0},
                                {0, 0, 255, 0}, {255, 255, 255, 0}, {128, 128, 128, 0}};
      image.Compression = dither % 2 ? gcRLE : gcLZW;
      AssignBitmapToImage(image, method == 0 ? few : photo);
      ASSERT_EQ(image.Images().Count(), 1u);
      if (method == 7) {
        EXPECT_EQ(image.Images()[0].ColorMap().Count(), 32);
      }
      ByteVector stream;
      image.SaveToStream(stream);
      ExpectGiflibReadsTheSame(image, stream);
    }
  }
}

TEST(GiflibRoundTrip, TransparencyFromAlpha) {
  std::vector<std::uint8_t> rgba;
  for (int i = 0; i < 64; ++i) {
    Append3(rgba, i * 4, 10, 20);
    rgba.push_back(i % 3 ? 255 : 0);
  }
  TGIFImage image;
  AssignBitmapToImage(image, BitmapFromRgba(8, 8, rgba), true);
  ByteVector stream;
  image.SaveToStream(stream);
  ExpectGiflibReadsTheSame(image, stream);
  const TGIFSubImage& frame = image.Images()[0];
  ASSERT_TRUE(frame.Transparent());
  for (int i = 0; i < 64; ++i)
    EXPECT_EQ(frame.Pixels()[static_cast<std::size_t>(i)] == frame.TransparentIndex(), i % 3 == 0)
        << i;
}

}  // namespace
}  // namespace rf::gif
