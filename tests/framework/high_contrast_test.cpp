#include "framework/high_contrast.h"

#include <gtest/gtest.h>

namespace rf::fw {
namespace {

// A black-on-white and a white-on-black theme, in COLORREF (0x00BBGGRR).
constexpr ContrastColors kBlackOnWhite{0x000000, 0xFFFFFF, 0x800000};
constexpr ContrastColors kYellowOnNavy{0x00FFFF, 0x800000, 0x00FF00};

TEST(HighContrast, BlackAndSilverTakeTheThemesColoursAndGreysLieBetween) {
  // DIB pixels are 0x00RRGGBB; the theme's COLORREFs hold blue highest.
  EXPECT_EQ(ContrastPixel(0x000000, kBlackOnWhite), 0x000000u);
  EXPECT_EQ(ContrastPixel(0xC0C0C0, kBlackOnWhite), 0xFFFFFFu);
  EXPECT_EQ(ContrastPixel(0x000000, kYellowOnNavy), 0xFFFF00u);  // yellow
  EXPECT_EQ(ContrastPixel(0xC0C0C0, kYellowOnNavy), 0x000080u);  // navy
  // Lighter than silver counts as silver.
  EXPECT_EQ(ContrastPixel(0xFFFFFF, kYellowOnNavy), 0x000080u);
  // Half way: each channel half way, rounded.
  EXPECT_EQ(ContrastPixel(0x606060, kBlackOnWhite), 0x808080u);
  EXPECT_EQ(ContrastPixel(0x606060, kYellowOnNavy), 0x808040u);
  // A smoothed glyph's greys keep their order from ink to paper.
  std::uint32_t last = ContrastPixel(0, kBlackOnWhite);
  for (std::uint32_t g = 1; g <= 0xC0; ++g) {
    const std::uint32_t now = ContrastPixel(g * 0x010101, kBlackOnWhite);
    EXPECT_GE(now & 0xFF, last & 0xFF) << g;
    EXPECT_EQ(now & 0xFF, (now >> 8) & 0xFF);
    last = now;
  }
  // A theme of the picture's own colours changes nothing.
  constexpr ContrastColors kOwn{0x000000, 0xC0C0C0, 0};
  for (std::uint32_t g : {0u, 0x40u, 0x80u, 0xC0u})
    EXPECT_EQ(ContrastPixel(g * 0x010101, kOwn), g * 0x010101) << g;
}

}  // namespace
}  // namespace rf::fw
