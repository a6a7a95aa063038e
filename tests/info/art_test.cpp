#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/scale.h"
#include "tools/infoart/info_art.h"

namespace rf::infoart {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}

bool ArtFontMissing() {
  return !std::filesystem::exists(kArtFont);
}

TEST(InfoArtTest, CommittedFilesAreWhatTheGeneratorWrites) {
  if (ArtFontMissing()) GTEST_SKIP() << kArtFont << " missing (scripts/install-deps.sh)";
  struct Case {
    std::string file;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases = {{"icons/Runefold.ico", IconFile()},
                             {"icons/hand.cur", HandCursorFile()},
                             {"pictures/Image2.pic", DonationPictureProperty()}};
  for (const int step : fw::kScaleSteps)
    if (step != 100)
      cases.push_back({"pictures/Image2_" + std::to_string(step) + ".pic",
                       DonationPictureProperty(fw::Scale(step))});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const auto committed = ReadFile(std::string(RF_SOURCE_DIR) + "/resources/" + c.file);
    ASSERT_FALSE(committed.empty()) << "missing; run the infoart_update target";
    EXPECT_TRUE(committed == c.bytes) << "stale; run the infoart_update target";
  }
}

// Directory entry and bitmap header of a one-image .ico/.cur file.
struct IconHeader {
  int type, count, width, height, colors, field4, field6, offset, bmp_width, bmp_height, bits;
};

IconHeader ParseIcon(const std::vector<std::uint8_t>& b) {
  const int offset = U16(b, 18) | (U16(b, 20) << 16);
  return {U16(b, 2),
          U16(b, 4),
          b[6],
          b[7],
          b[8],
          U16(b, 10),
          U16(b, 12),
          offset,
          U16(b, static_cast<std::size_t>(offset + 4)),
          U16(b, static_cast<std::size_t>(offset + 8)),
          U16(b, static_cast<std::size_t>(offset + 14))};
}

TEST(InfoArtTest, IconAndCursorHaveTheirFormats) {
  if (ArtFontMissing()) GTEST_SKIP() << kArtFont << " missing (scripts/install-deps.sh)";
  const auto file = IconFile();
  const auto ico = ParseIcon(file);
  EXPECT_EQ(ico.type, 1);
  ASSERT_EQ(ico.count, static_cast<int>(fw::kScaleSteps.size()));
  EXPECT_EQ(ico.colors, 16);
  EXPECT_EQ(ico.bits, 4);
  // One 16-colour image with its mask for each scale step, 32 pixels first.
  std::size_t size = 6;
  for (int i = 0; i < ico.count; ++i) {
    SCOPED_TRACE(i);
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
    const int side = fw::Scale(fw::kScaleSteps[static_cast<std::size_t>(i)]).Edge(32);
    EXPECT_EQ(file[entry], side);
    EXPECT_EQ(file[entry + 1], side);
    const std::size_t at = U16(file, entry + 12) | (U16(file, entry + 14) << 16);
    EXPECT_EQ(U16(file, at + 4), side);
    EXPECT_EQ(U16(file, at + 8), 2 * side);  // colour bits and mask
    const std::size_t stride = (static_cast<std::size_t>(side) * 4 + 31) / 32 * 4;
    const std::size_t mask = (static_cast<std::size_t>(side) + 31) / 32 * 4;
    const std::size_t bytes = 40 + 16 * 4 + (stride + mask) * static_cast<std::size_t>(side);
    EXPECT_EQ(U16(file, entry + 8) | (U16(file, entry + 10) << 16), static_cast<int>(bytes));
    size += 16 + bytes;
  }
  EXPECT_EQ(file.size(), size);
  EXPECT_EQ(ico.width, 32);

  const auto cur = ParseIcon(HandCursorFile());
  EXPECT_EQ(cur.type, 2);
  EXPECT_EQ(cur.width, 32);
  EXPECT_EQ(cur.height, 32);
  EXPECT_EQ(cur.field4, 6);  // hot spot x
  EXPECT_EQ(cur.field6, 0);  // hot spot y
  EXPECT_EQ(cur.bits, 1);
  EXPECT_EQ(HandCursorFile().size(), 22u + 40 + 2 * 4 + 32 * 4 + 32 * 4);
}

TEST(InfoArtTest, HandHotSpotIsOnTheFingertip) {
  const IndexedImage hand = HandImage();
  EXPECT_EQ(hand.At(6, 0), 0);  // black outline at the very top
  for (int x = 0; x < 32; ++x) {
    if (x != 6 && x != 7) {
      EXPECT_EQ(hand.At(x, 0), 255) << x;
    }
  }
  // Nothing but the fingertip reaches the top rows.
  for (int y = 0; y < 5; ++y) {
    for (int x = 10; x < 32; ++x) EXPECT_EQ(hand.At(x, y), 255);
  }
}

TEST(InfoArtTest, DonationButtonIsAStored64ColourGif) {
  const auto prop = DonationPictureProperty();
  ASSERT_EQ(prop[0], 9);
  EXPECT_EQ(std::string(prop.begin() + 1, prop.begin() + 10), "TGIFImage");
  const std::vector<std::uint8_t> gif(prop.begin() + 10, prop.end());
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(U16(gif, 6), 80);
  EXPECT_EQ(U16(gif, 8), 31);
  ASSERT_TRUE(gif[10] & 0x80);
  EXPECT_EQ(2 << (gif[10] & 7), 64);
  // Then one graphic control extension without transparency and delay 0,
  // one full-size frame with LZW minimum code size 6, the trailer.
  std::size_t at = 13 + 64 * 3;
  ASSERT_EQ(gif[at], 0x21);
  ASSERT_EQ(gif[at + 1], 0xF9);
  EXPECT_EQ(gif[at + 3] & 1, 0);
  EXPECT_EQ(U16(gif, at + 4), 0);
  at += 8;
  ASSERT_EQ(gif[at], 0x2C);
  EXPECT_EQ(U16(gif, at + 1), 0);
  EXPECT_EQ(U16(gif, at + 3), 0);
  EXPECT_EQ(U16(gif, at + 5), 80);
  EXPECT_EQ(U16(gif, at + 7), 31);
  EXPECT_EQ(gif[at + 9], 0);  // no local table, not interlaced
  EXPECT_EQ(gif[at + 10], 6);
  EXPECT_EQ(gif.back(), 0x3B);
  EXPECT_EQ(DonationPalette().size(), 64u);
}

// The larger sizes keep the drawing: its ground and lines where the scale's
// edge rule puts them, the letters and the heart inside their scaled places,
// and at 100 % exactly the stored drawing.
TEST(InfoArtTest, LargerSizesKeepTheDrawingAtEveryStep) {
  if (ArtFontMissing()) GTEST_SKIP() << kArtFont << " missing (scripts/install-deps.sh)";
  EXPECT_EQ(IconImageAt(fw::Scale()).pixels, IconImage().pixels);
  EXPECT_EQ(DonationImageAt(fw::Scale()).pixels, DonationImage().pixels);
  const IndexedImage icon = IconImage(), button = DonationImage();
  constexpr std::uint8_t kNavy = 4, kYellow = 11, kText = 49, kTextShadow = 50;
  for (const int step : fw::kScaleSteps) {
    SCOPED_TRACE(step);
    const fw::Scale s(step);
    const IndexedImage big = IconImageAt(s);
    ASSERT_EQ(big.width, s.Edge(32));
    ASSERT_EQ(big.height, s.Edge(32));
    int letter = 0, moved = 0;
    for (int y = 0; y < big.height; ++y)
      for (int x = 0; x < big.width; ++x) {
        const std::uint8_t was = icon.At(s.ToLayout(x), s.ToLayout(y));
        const std::uint8_t now = big.At(x, y);
        // Only the letter is drawn anew, in navy, on the picked cell's yellow.
        if (now == kNavy && (was == kYellow || was == kNavy))
          ++letter;
        else if (now != was && !(was == kNavy && now == kYellow))
          ++moved;
      }
    EXPECT_EQ(moved, 0);
    EXPECT_GT(letter, 10 * step / 100);

    // The button fills its control, which lies one pixel into its panel.
    const IndexedImage b = DonationImageAt(s);
    ASSERT_EQ(b.width, s.Span(1, 80));
    ASSERT_EQ(b.height, s.Span(1, 31));
    int text = 0;
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x) {
        const int lx = s.ToLayout(x + s.Edge(1)) - 1, ly = s.ToLayout(y + s.Edge(1)) - 1;
        const std::uint8_t v = b.At(x, y);
        if (lx == 0 || ly == 0 || lx == 79 || ly == 30) {
          ASSERT_EQ(v, button.At(lx, ly)) << "border at " << x << "," << y;
        } else if (v == kText || v == kTextShadow) {
          ++text;
          ASSERT_TRUE(lx >= 16 && lx < 65 && ly >= 20 && ly < 28) << "letter at " << x << "," << y;
        } else if (ly >= 17) {
          // Below the heart, the gradient's entry of its 96-DPI row.
          ASSERT_EQ(v, ly) << "ground at " << x << "," << y;
        }
      }
    EXPECT_GT(text, 100 * step / 100);
  }
}

}  // namespace
}  // namespace rf::infoart
