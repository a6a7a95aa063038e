#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/win/bitmapimport_win.h"

namespace rf::gif {
namespace {

std::vector<std::uint8_t> Pixels(const TGIFSubImage& frame) {
  return {frame.Pixels().begin(), frame.Pixels().end()};
}

// A DIB section of the given depth with a colour table (for 8 bits or
// less), filled row by row from `rows` (top-down, each row's own bytes).
fw::UniqueBitmap MakeDib(int width, int height, int bits, const std::vector<RGBQUAD>& colors,
                         const std::vector<std::vector<std::uint8_t>>& rows) {
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biWidth = width;
  h->biHeight = -height;
  h->biPlanes = 1;
  h->biBitCount = static_cast<WORD>(bits);
  h->biCompression = BI_RGB;
  h->biClrUsed = static_cast<DWORD>(colors.size());
  std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), colors.data(),
              colors.size() * sizeof(RGBQUAD));
  void* bits_ptr = nullptr;
  fw::UniqueBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                           DIB_RGB_COLORS, &bits_ptr, nullptr, 0));
  const int stride = ((width * bits + 31) / 32) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(static_cast<std::uint8_t*>(bits_ptr) + y * stride,
                rows[static_cast<std::size_t>(y)].data(), rows[static_cast<std::size_t>(y)].size());
  GdiFlush();
  return bitmap;
}

TEST(BitmapHandles, IndexedDepthsKeepTheirPalettes) {
  const std::vector<RGBQUAD> colors = {{30, 20, 10, 0}, {60, 50, 40, 0}, {90, 80, 70, 0}};
  struct Case {
    int bits;
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<std::uint8_t> pixels;
  };
  const Case cases[] = {
      {1, {{0b1010'0000}, {0b0110'0000}}, {1, 0, 1, 0, 1, 1}},
      {4, {{0x21, 0x00}, {0x10, 0x20}}, {2, 1, 0, 1, 0, 2}},
      {8, {{2, 1, 0}, {0, 2, 1}}, {2, 1, 0, 0, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    const std::vector<RGBQUAD> used(colors.begin(), colors.begin() + (c.bits == 1 ? 2 : 3));
    fw::UniqueBitmap bitmap = MakeDib(3, 2, c.bits, used, c.rows);
    TGIFImage image;
    TGIFSubImage frame(&image);
    AssignBitmapHandle(frame, bitmap.get());
    EXPECT_EQ(frame.Width(), 3);
    EXPECT_EQ(frame.Height(), 2);
    EXPECT_EQ(Pixels(frame), c.pixels);
    ASSERT_GE(frame.ColorMap().Count(), static_cast<int>(used.size()));
    for (std::size_t i = 0; i < used.size(); ++i)
      EXPECT_EQ(frame.ColorMap()[static_cast<int>(i)],
                (TGIFColor{used[i].rgbRed, used[i].rgbGreen, used[i].rgbBlue}));
  }
}

TEST(BitmapHandles, DeepBitmapsAreReduced) {
  // Pure red, black, white in each deep format; the cube by default.
  const std::vector<std::vector<std::uint8_t>> rows16 = {{0x00, 0x7C, 0x00, 0x00, 0xFF, 0x7F}};
  const std::vector<std::vector<std::uint8_t>> rows24 = {{0, 0, 255, 0, 0, 0, 255, 255, 255}};
  const std::vector<std::vector<std::uint8_t>> rows32 = {
      {0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 0}};
  for (auto [bits, rows] : {std::pair{16, rows16}, {24, rows24}, {32, rows32}}) {
    SCOPED_TRACE(bits);
    fw::UniqueBitmap bitmap = MakeDib(3, 1, bits, {}, rows);
    TGIFImage image;
    TGIFSubImage frame(&image);
    AssignBitmapHandle(frame, bitmap.get());
    EXPECT_EQ(frame.ColorMap().Count(), 216);
    EXPECT_EQ(Pixels(frame), (std::vector<std::uint8_t>{180, 0, 215}));
  }
  // A device-dependent bitmap of the screen's depth.
  HDC screen = GetDC(nullptr);
  fw::UniqueBitmap ddb(CreateCompatibleBitmap(screen, 4, 4));
  ReleaseDC(nullptr, screen);
  TGIFImage image;
  image.ColorReduction = rmGrayScale;
  TGIFSubImage frame(&image);
  AssignBitmapHandle(frame, ddb.get());
  EXPECT_EQ(frame.ColorMap().Count(), 256);
  EXPECT_EQ(Pixels(frame), std::vector<std::uint8_t>(16, 0));
}

TEST(BitmapHandles, BadHandlesAreRefusedAndNothingClears) {
  TGIFImage image;
  TGIFSubImage frame(&image);
  fw::UniqueBitmap bitmap = MakeDib(1, 1, 24, {}, {{1, 2, 3}});
  AssignBitmapHandle(frame, bitmap.get());
  ASSERT_FALSE(frame.Empty());
  AssignBitmapHandle(frame, nullptr);
  EXPECT_TRUE(frame.Empty());
  EXPECT_TRUE(frame.ColorMap().Empty());
  for (auto bad : {0x1234, 0x7FFF0}) {
    try {
      AssignBitmapHandle(frame, reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(bad)));
      ADD_FAILURE() << "no error";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), msg::kBitmapNotValid);
    }
  }
  try {
    AssignIcon(frame, reinterpret_cast<HICON>(static_cast<INT_PTR>(0x1234)));
    ADD_FAILURE() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), msg::kBitmapNotValid);
  }
}

TEST(PlatformPalettes, MatchTheFixedTables) {
  const SystemPalettes platform = PlatformPalettes();
  EXPECT_EQ(platform.default_palette.size(), 20u);
  EXPECT_EQ(platform.halftone_palette.size(), 256u);
  const Palette fixed = DefaultSystemPalette();
  for (std::size_t i = 0; i < fixed.size() && i < platform.default_palette.size(); ++i)
    EXPECT_EQ(platform.default_palette[i], fixed[i]) << i;
  const Palette halftone = HalftoneSystemPalette();
  for (std::size_t i = 0; i < halftone.size() && i < platform.halftone_palette.size(); ++i) {
    const PaletteEntry& a = platform.halftone_palette[i];
    EXPECT_EQ((PaletteEntry{a.red, a.green, a.blue, 0}), halftone[i]) << i;
  }
}

TEST(Icons, TheMaskBecomesTransparency) {
  // 16x16: the left half opaque red, the right half transparent.
  std::vector<std::vector<std::uint8_t>> color_rows(16, std::vector<std::uint8_t>(16 * 4, 0));
  std::vector<std::vector<std::uint8_t>> mask_rows(16, std::vector<std::uint8_t>{0x00, 0xFF, 0, 0});
  for (auto& row : color_rows)
    for (int x = 0; x < 8; ++x) row[static_cast<std::size_t>(x * 4 + 2)] = 255;
  fw::UniqueBitmap color = MakeDib(16, 16, 32, {}, color_rows);
  fw::UniqueBitmap mask = MakeDib(16, 16, 1, {{0, 0, 0, 0}, {255, 255, 255, 0}}, mask_rows);
  ICONINFO ii{TRUE, 0, 0, mask.get(), color.get()};
  fw::UniqueIcon icon(CreateIconIndirect(&ii));
  ASSERT_TRUE(icon);
  TGIFImage image;
  TGIFSubImage frame(&image);
  AssignIcon(frame, icon.get());
  ASSERT_EQ(frame.Width(), 16);
  ASSERT_TRUE(frame.Transparent());
  const std::uint8_t transparent = frame.TransparentIndex();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const std::uint8_t p = frame.Pixels()[static_cast<std::size_t>(y * 16 + x)];
      if (x >= 8) {
        EXPECT_EQ(p, transparent) << x << "," << y;
      } else {
        ASSERT_NE(p, transparent) << x << "," << y;
        EXPECT_EQ(frame.ColorMap()[p], (TGIFColor{255, 0, 0})) << x << "," << y;
      }
    }
}

TEST(Metafiles, WhatIsNotDrawnStaysTransparent) {
  HDC ref = GetDC(nullptr);
  HDC dc = CreateEnhMetaFileA(ref, nullptr, nullptr, nullptr);
  ReleaseDC(nullptr, ref);
  ASSERT_NE(dc, nullptr);
  // Two filled squares (blue, green) at the corners of a 20x20 area.
  fw::UniqueBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  fw::UniqueBrush green(CreateSolidBrush(RGB(0, 255, 0)));
  RECT a{0, 0, 5, 5}, b{15, 15, 20, 20};
  FillRect(dc, &a, blue.get());
  FillRect(dc, &b, green.get());
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  ASSERT_NE(metafile, nullptr);
  TGIFImage image;
  TGIFSubImage frame(&image);
  AssignMetafile(frame, metafile);
  DeleteEnhMetaFile(metafile);
  ASSERT_EQ(frame.Width(), 20);
  ASSERT_EQ(frame.Height(), 20);
  ASSERT_TRUE(frame.Transparent());
  const std::uint8_t transparent = frame.TransparentIndex();
  auto at = [&](int x, int y) { return frame.Pixels()[static_cast<std::size_t>(y * 20 + x)]; };
  EXPECT_EQ(frame.ColorMap()[at(1, 1)], (TGIFColor{0, 0, 255}));
  EXPECT_EQ(frame.ColorMap()[at(18, 18)], (TGIFColor{0, 255, 0}));
  EXPECT_EQ(at(10, 10), transparent);
  EXPECT_EQ(at(18, 2), transparent);
}

// A picture that paints only its left half, in yellow.
class HalfPicture : public fw::Graphic {
 public:
  int Width() const override { return 6; }
  int Height() const override { return 2; }
  void Draw(fw::Canvas& canvas, const RECT& rect) override {
    fw::UniqueBrush yellow(CreateSolidBrush(RGB(255, 255, 0)));
    RECT left{rect.left, rect.top, (rect.left + rect.right) / 2, rect.bottom};
    FillRect(canvas.Handle(), &left, yellow.get());
  }
  void LoadFromBytes(std::span<const std::uint8_t>) override {}
};

TEST(Graphics, AnyPictureIsDrawnAndWhatItLeavesIsTransparent) {
  HalfPicture picture;
  TGIFImage image;
  TGIFSubImage frame(&image);
  AssignGraphic(frame, picture);
  ASSERT_EQ(frame.Width(), 6);
  ASSERT_TRUE(frame.Transparent());
  for (int x = 0; x < 6; ++x) {
    const std::uint8_t p = frame.Pixels()[static_cast<std::size_t>(x)];
    if (x < 3) {
      EXPECT_EQ(frame.ColorMap()[p], (TGIFColor{255, 255, 0})) << x;
    } else {
      EXPECT_EQ(p, frame.TransparentIndex()) << x;
    }
  }
}

TEST(Clipboard, APlainBitmapBecomesTheImage) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  fw::UniqueBitmap bitmap = MakeDib(2, 2, 24, {}, {{255, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 255}});
  // The clipboard takes the handle over.
  SetClipboardData(CF_BITMAP, bitmap.release());
  CloseClipboard();
  TGIFImage image;
  LoadBitmapFromClipboard(image);
  ASSERT_EQ(image.Images().Count(), 1u);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(Pixels(image.Images()[0]), (std::vector<std::uint8_t>{5, 0, 0, 180}));

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  try {
    LoadBitmapFromClipboard(image);
    ADD_FAILURE() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), msg::kUnsupportedClipboardFormat);
  }
}

}  // namespace
}  // namespace rf::gif
