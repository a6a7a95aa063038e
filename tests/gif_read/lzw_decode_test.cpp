// The LZW decoder: hand-made code sequences for each way the data can end
// or go wrong, and the fast decoder against the plain one over many
// generated and damaged streams (pixels, stream position, warnings, error).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/read/lzwdecoder.h"
#include "gif/read/lzwreference.h"
#include "gif_test_streams.h"

namespace rf::gif::test {
namespace {

struct Decoded {
  Bytes pixels;
  std::size_t position = 0;
  std::vector<std::string> warnings;
  std::string error;
  bool operator==(const Decoded&) const = default;
};

Decoded Decode(bool fast, const Bytes& data, std::size_t width, std::size_t height,
               bool interlaced = false, std::uint8_t fill = 0) {
  Decoded result;
  result.pixels.assign(width * height + kLzwOutputSlack, 0xEE);
  GIFInputStream in(data);
  LzwFrameLayout layout{width, height, interlaced, fill};
  LzwWarningSink warn = [&](const char* m) { result.warnings.emplace_back(m); };
  try {
    if (fast) {
      DecodeLzwFrame(in, layout, result.pixels.data(), warn);
    } else {
      DecodeLzwFrameReference(in, layout, result.pixels.data(), warn);
    }
  } catch (const GIFException& e) {
    result.error = e.what();
  }
  result.pixels.resize(width * height);
  result.position = in.Position();
  if (!result.error.empty()) {
    // A failed frame fails the whole picture: what it left is not used.
    result.pixels.clear();
    result.position = 0;
  }
  return result;
}

void PrintTo(const Decoded& d, std::ostream* os) {
  *os << "{pixels " << testing::PrintToString(d.pixels) << ", position " << d.position
      << ", warnings " << testing::PrintToString(d.warnings) << ", error \"" << d.error << "\"}";
}

// Image data from explicit codes: (code, width) pairs.
Bytes Codes(int min, std::initializer_list<std::pair<int, int>> codes, std::size_t block = 255) {
  CodePacker packer;
  for (auto [code, bits] : codes) packer.Put(code, bits);
  return Concat({{static_cast<std::uint8_t>(min)}, SubBlocks(packer.Finish(), block)});
}

Bytes RandomPixels(std::mt19937& rng, std::size_t count, int colors, int run) {
  Bytes pixels(count);
  std::uniform_int_distribution<int> color(0, colors - 1);
  std::uniform_int_distribution<int> length(1, run);
  for (std::size_t i = 0; i < count;) {
    std::uint8_t c = static_cast<std::uint8_t>(color(rng));
    for (int n = length(rng); n > 0 && i < count; --n) pixels[i++] = c;
  }
  return pixels;
}

struct Case {
  const char* name;
  Bytes data;
  std::size_t width;
  std::size_t height;
  std::uint8_t fill;
  Bytes pixels;
  std::vector<std::string> warnings = {};
  std::string error = {};
  bool at_stream_end = false;  // nothing follows the data
};

TEST(LzwDecode, HandMadeCodeSequences) {
  // min 2: clear 4, end 5, first free 6, 3-bit codes until entry 7 is made.
  // min 3: clear 8, end 9, first free 10, 4-bit codes.
  const Case cases[] = {
      {"early end keeps fill", Codes(2, {{4, 3}, {1, 3}, {5, 3}}), 2, 2, 0, {1, 0, 0, 0}},
      {"early end, transparent fill", Codes(2, {{4, 3}, {1, 3}, {5, 3}}), 2, 2, 3, {1, 3, 3, 3}},
      {"code equal to next free", Codes(2, {{4, 3}, {1, 3}, {6, 3}, {5, 3}}), 3, 1, 0, {1, 1, 1}},
      {"end right after clear ends the data", Codes(2, {{4, 3}, {5, 3}}), 2, 1, 7, {7, 7}},
      {"clear in the middle resets the width",
       Codes(2, {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 4}, {4, 4}, {2, 3}, {6, 3}, {5, 3}}),
       8,
       1,
       0,
       {1, 2, 3, 0, 2, 2, 2, 0}},
      {"several clears in a row", Codes(2, {{4, 3}, {4, 3}, {4, 3}, {2, 3}, {5, 3}}), 1, 1, 0, {2}},
      {"no end code, data end on a byte boundary",
       Codes(2, {{4, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 4}, {1, 4}, {1, 4}}),
       6,
       1,
       0,
       {1, 1, 1, 1, 1, 1},
       {msg::kBitBufferUnderrun}},
      {"no end code, frame not full",
       Codes(2, {{4, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 4}, {1, 4}, {1, 4}}),
       8,
       1,
       0,
       {1, 1, 1, 1, 1, 1, 0, 0},
       {msg::kBitBufferUnderrun, msg::kBitBufferUnderrun}},
      {"stream ends where a size byte should be", {2, 1, 0x0C}, 3, 1, 0, {1, 0, 0}, {}, {}, true},
      {"size byte promises more than is there",
       {2, 200, 0x4C, 0x0A},
       3,
       1,
       0,
       {1, 1, 0},
       {msg::kPrematureEnd},
       {},
       true},
      {"minimum code size 12 refused", {12, 1, 0, 0}, 1, 1, 0, {}, {}, msg::kClearCodeTooLarge},
      {"self-referring entry",
       Codes(3, {{8, 4}, {1, 4}, {11, 4}, {2, 4}, {11, 4}, {9, 4}}),
       9,
       1,
       0,
       {},
       {},
       msg::kCircularTable},
      {"entries referring to each other",
       Codes(3, {{8, 4}, {1, 4}, {12, 4}, {13, 4}, {12, 4}, {13, 4}, {12, 4}, {9, 4}}),
       30,
       1,
       0,
       {},
       {},
       msg::kCircularTable},
      {"empty frame still reads the end code", Codes(2, {{4, 3}, {5, 3}}), 0, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes data = c.at_stream_end ? c.data : Concat({c.data, {0x3B, 0x2C}});
    Decoded got = Decode(true, data, c.width, c.height, false, c.fill);
    EXPECT_EQ(got.error, c.error);
    EXPECT_EQ(got.warnings, c.warnings);
    if (c.error.empty()) {
      EXPECT_EQ(got.pixels, c.pixels);
      EXPECT_EQ(got.position, c.data.size());
    }
    EXPECT_EQ(got, Decode(false, data, c.width, c.height, false, c.fill));
  }
}

TEST(LzwDecode, InterlacedRowsGoToTheirPasses) {
  struct Rows {
    std::size_t height;
    std::vector<std::size_t> order;
  };
  const Rows table[] = {
      {1, {0}},          {2, {0, 1}},          {3, {0, 2, 1}},
      {4, {0, 2, 1, 3}}, {5, {0, 4, 2, 1, 3}}, {9, {0, 8, 4, 2, 6, 1, 3, 5, 7}},
  };
  for (const Rows& r : table) {
    SCOPED_TRACE(r.height);
    // Decoded row k holds the value k.
    Bytes linear;
    for (std::size_t k = 0; k < r.height; ++k) linear.insert(linear.end(), 3, std::uint8_t(k));
    Bytes data = Lzw(linear, {.min_code_size = 4});
    Bytes expected(3 * r.height);
    for (std::size_t k = 0; k < r.height; ++k) {
      std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(3 * r.order[k]), 3, k);
    }
    EXPECT_EQ(Decode(true, data, 3, r.height, true).pixels, expected);
    EXPECT_EQ(Decode(false, data, 3, r.height, true).pixels, expected);
  }
}

TEST(LzwDecode, StringBeyondTheFrameSkipsToTheTerminator) {
  std::mt19937 rng(7);
  Bytes pixels = RandomPixels(rng, 400, 4, 30);
  Bytes data = Concat({Lzw(pixels, {.block_size = 10}), {0x21, 0xFE}});
  for (std::size_t width : {399u, 397u, 350u, 100u}) {
    SCOPED_TRACE(width);
    Decoded got = Decode(true, data, width, 1);
    EXPECT_EQ(got.pixels,
              Bytes(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(width)));
    EXPECT_EQ(got.position, data.size() - 2);
    EXPECT_TRUE(got.warnings.empty());
  }
}

// Codes as a standard decoder reads them after one clear: each code after
// the first defines an entry, and the codes widen as the table grows.
Bytes CodesAfterClear(int min, const std::vector<int>& codes, std::size_t block) {
  CodePacker packer;
  int size = min + 1;
  int next_free = (1 << min) + 2;
  packer.Put(1 << min, size);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    packer.Put(codes[i], size);
    if (i > 0 && next_free < kLzwTableSize && ++next_free == (1 << size) && size < kLzwMaxBits) {
      ++size;
    }
  }
  packer.Put((1 << min) + 1, size);
  return Concat({{static_cast<std::uint8_t>(min)}, SubBlocks(packer.Finish(), block)});
}

// A code beyond the next free one late in the data, after thousands of
// good codes over many sub-blocks, and frames that fill up after a full
// table: the decoder then goes on from prefixes it has to find again.
TEST(LzwDecode, DamageLateInTheDataMatchesPlainDecoder) {
  std::mt19937 rng(5);
  struct Shape {
    int min;
    std::size_t block;
    int good_codes;  // before the code beyond the next free one (-1: none)
    std::size_t pixels;
  };
  const Shape shapes[] = {
      {2, 1, 300, 100000}, {2, 3, 1500, 100000}, {8, 1, 2000, 100000},  {8, 255, 3000, 100000},
      {8, 17, -1, 9000},   {4, 255, -1, 20000},  {11, 5, 1000, 100000}, {8, 255, 3700, 100000},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(testing::Message()
                 << "min " << s.min << " block " << s.block << " good " << s.good_codes);
    const int clear = 1 << s.min;
    std::vector<int> codes;
    int next_free = clear + 2;
    for (int i = 0; i < 5000; ++i) {
      int code;
      if (i == s.good_codes && next_free + 3 < kLzwTableSize) {
        code = next_free + 3;
      } else if (i > 0 && next_free > clear + 2 && rng() % 2 == 0) {
        // A defined string: a recent one, or any.
        const int defined = next_free - clear - 2;
        const int back = rng() % 2 == 0 ? std::min(40, defined) : defined;
        code = next_free - 1 - static_cast<int>(rng() % static_cast<unsigned>(back));
      } else {
        code = static_cast<int>(rng() % static_cast<unsigned>(clear));
      }
      codes.push_back(code);
      if (i > 0 && next_free < kLzwTableSize) ++next_free;
    }
    Bytes data = Concat({CodesAfterClear(s.min, codes, s.block), {0x3B}});
    Decoded fast = Decode(true, data, s.pixels / 100, 100);
    EXPECT_EQ(fast, Decode(false, data, s.pixels / 100, 100));
  }
}

TEST(LzwDecode, RoundTripsEncodedImages) {
  std::mt19937 rng(11);
  struct Shape {
    int min;
    std::size_t width, height;
    int colors, run;
    EncodeOptions options;
  };
  const Shape shapes[] = {
      {8, 300, 200, 256, 3, {.min_code_size = 8}},  // photo-like, many clears
      {8, 300, 200, 256, 3, {.min_code_size = 8, .no_clear_when_full = true}},  // full table kept
      {2, 64, 64, 4, 200, {.min_code_size = 2}},                                // long strings
      {8, 128, 50, 200, 2, {.min_code_size = 8, .block_size = 1}},  // one-byte sub-blocks
      {8, 128, 50, 200, 2, {.min_code_size = 8, .block_size = 2}},
      {11, 64, 64, 256, 4, {.min_code_size = 11}},  // 12-bit codes at once
      {1, 40, 40, 2, 5, {.min_code_size = 1}},
      {4, 90, 90, 16, 8, {.min_code_size = 4, .clear_every = 37}},
      // Frames far beyond 64k pixels, with clears and the end code late in
      // them, and long strings across the whole frame.
      {8, 500, 300, 256, 3, {.min_code_size = 8}},
      {2, 700, 200, 3, 400, {.min_code_size = 2, .clear_every = 900}},
  };
  for (const Shape& s : shapes) {
    SCOPED_TRACE(s.min);
    Bytes pixels = RandomPixels(rng, s.width * s.height, s.colors, s.run);
    Bytes data = Lzw(pixels, s.options);
    Decoded got = Decode(true, data, s.width, s.height);
    EXPECT_EQ(got.pixels, pixels);
    EXPECT_EQ(got.position, data.size());
    EXPECT_TRUE(got.warnings.empty());
    EXPECT_EQ(got, Decode(false, data, s.width, s.height));
  }
}

// The fast decoder must match the plain one on anything: well-formed data,
// data with flipped bytes, cut data, random codes.
TEST(LzwDecode, FastDecoderMatchesPlainDecoder) {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int> byte(0, 255);
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    const int min = std::uniform_int_distribution<int>(1, 8)(rng);
    const std::size_t width = std::uniform_int_distribution<std::size_t>(0, 70)(rng);
    const std::size_t height = std::uniform_int_distribution<std::size_t>(0, 40)(rng);
    const int colors = 1 << std::min(min, 8);
    Bytes pixels =
        RandomPixels(rng, width * height + std::uniform_int_distribution<std::size_t>(0, 20)(rng),
                     colors, std::uniform_int_distribution<int>(1, 40)(rng));
    EncodeOptions options;
    options.min_code_size = min;
    options.block_size = std::uniform_int_distribution<std::size_t>(1, 255)(rng);
    options.clear_every = round % 5 == 0 ? std::uniform_int_distribution<int>(1, 300)(rng) : 0;
    options.no_clear_when_full = round % 7 == 0;
    options.end_code = round % 9 != 0;
    Bytes data = Lzw(pixels, options);
    switch (round % 6) {
      case 0:
        break;
      case 1:  // flipped bytes
        for (int n = std::uniform_int_distribution<int>(1, 4)(rng); n > 0; --n) {
          data[std::uniform_int_distribution<std::size_t>(1, data.size() - 1)(rng)] =
              static_cast<std::uint8_t>(byte(rng));
        }
        break;
      case 2:  // cut short
        data.resize(std::uniform_int_distribution<std::size_t>(0, data.size())(rng));
        break;
      case 3: {  // random codes in well-formed sub-blocks
        Bytes noise(std::uniform_int_distribution<std::size_t>(0, 600)(rng));
        for (auto& b : noise) b = static_cast<std::uint8_t>(byte(rng));
        data = Concat({{static_cast<std::uint8_t>(min)}, SubBlocks(noise, options.block_size)});
        break;
      }
      case 4: {  // random codes after a clean start, with low codes favoured
        Bytes noise(std::uniform_int_distribution<std::size_t>(0, 300)(rng));
        for (auto& b : noise) b = static_cast<std::uint8_t>(byte(rng) & byte(rng));
        data = Concat({{static_cast<std::uint8_t>(min)}, SubBlocks(noise, 255)});
        break;
      }
      case 5:  // raw noise, sub-block sizes included
        data.resize(std::uniform_int_distribution<std::size_t>(1, 400)(rng));
        for (std::size_t i = 1; i < data.size(); ++i)
          data[i] = static_cast<std::uint8_t>(byte(rng));
        data[0] = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 13)(rng));
        break;
    }
    data.insert(data.end(), {0x3B, 0x21, 0x2C});
    const bool interlaced = round % 4 == 0;
    const auto fill = static_cast<std::uint8_t>(byte(rng));
    Decoded fast = Decode(true, data, width, height, interlaced, fill);
    Decoded plain = Decode(false, data, width, height, interlaced, fill);
    ASSERT_EQ(fast, plain) << "round " << round;
    ++compared;
  }
  EXPECT_EQ(compared, 3000);
}

}  // namespace
}  // namespace rf::gif::test
