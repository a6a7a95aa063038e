#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

TEST(InfoArtTest, CommittedFilesAreWhatTheGeneratorWrites) {
  struct Case {
    const char* file;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {{"icons/Runefold.ico", IconFile()},
                        {"icons/hand.cur", HandCursorFile()},
                        {"pictures/Image2.pic", DonationPictureProperty()}};
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
  const auto ico = ParseIcon(IconFile());
  EXPECT_EQ(ico.type, 1);
  EXPECT_EQ(ico.count, 1);
  EXPECT_EQ(ico.width, 32);
  EXPECT_EQ(ico.height, 32);
  EXPECT_EQ(ico.colors, 16);
  EXPECT_EQ(ico.bits, 4);
  EXPECT_EQ(ico.bmp_height, 64);  // colour bits and mask
  EXPECT_EQ(IconFile().size(), 22u + 40 + 16 * 4 + 32 * 16 + 32 * 4);

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

}  // namespace
}  // namespace rf::infoart
