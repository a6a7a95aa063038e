// The two pixel coders and the sub-block writer, checked against giflib and
// against a plain decoder that lists the codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "code_reader.h"
#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/model/gifsimple.h"
#include "gif/write/framecoder.h"
#include "gif/write/gifencoder.h"
#include "gif/write/gifsave.h"
#include "gif/write/gifwriter.h"
#include "gif/write/lzwencoder.h"
#include "giflib_peer.h"

namespace rf::gif {
namespace {

using test::DecodeWithGiflib;
using test::TraceImageData;

using Bytes = std::vector<std::uint8_t>;

enum class Pattern { kRandom, kFlat, kRuns, kGradient, kStripes };

Bytes MakePixels(Pattern pattern, int w, int h, int colors, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes px(static_cast<std::size_t>(w) * h);
  std::size_t i = 0;
  int run_left = 0;
  std::uint8_t run_value = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x, ++i) {
      switch (pattern) {
        case Pattern::kRandom:
          px[i] = static_cast<std::uint8_t>(rng() % colors);
          break;
        case Pattern::kFlat:
          px[i] = static_cast<std::uint8_t>(colors - 1);
          break;
        case Pattern::kRuns:
          if (run_left == 0) {
            run_left = 1 + static_cast<int>(rng() % 700);
            run_value = static_cast<std::uint8_t>(rng() % colors);
          }
          --run_left;
          px[i] = run_value;
          break;
        case Pattern::kGradient:
          px[i] = static_cast<std::uint8_t>((x + y) % colors);
          break;
        case Pattern::kStripes:
          px[i] = static_cast<std::uint8_t>((y / 3) % colors);
          break;
      }
    }
  }
  return px;
}

std::vector<TGIFColor> Ramp(int count) {
  std::vector<TGIFColor> c(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    c[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i * 7)};
  }
  return c;
}

SimplePicture OneFrame(int w, int h, int colors, Bytes pixels, TGIFCompression compression,
                       bool interlaced) {
  SimplePicture pic;
  pic.width = w;
  pic.height = h;
  pic.colors = Ramp(colors);
  pic.compression = compression;
  SimpleFrame f;
  f.width = w;
  f.height = h;
  f.pixels = std::move(pixels);
  f.interlaced = interlaced;
  pic.frames.push_back(std::move(f));
  return pic;
}

// Offset of the first frame's minimum code size byte in a stream of one
// frame with a global table and no extensions.
std::size_t ImageDataOffset(const Bytes& gif) {
  std::size_t pos = 13;
  if (gif[10] & 0x80) pos += 3u << ((gif[10] & 7) + 1);
  return pos + 10;
}

// Every coder, interlaced or not, every table size 1..256 and every pattern
// decodes to the same pixels and colours with giflib.
TEST(CoderRoundTrip, GiflibDecodesEveryDepthSizeAndCoder) {
  const int sizes[][2] = {{1, 1}, {3, 3}, {17, 5}, {64, 48}, {301, 203}};
  int cases = 0;
  for (TGIFCompression coder : {gcLZW, gcRLE}) {
    for (bool interlaced : {false, true}) {
      for (int colors : {1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 31, 32, 64, 100, 128, 129, 255, 256}) {
        for (Pattern pattern : {Pattern::kRandom, Pattern::kFlat, Pattern::kRuns,
                                Pattern::kGradient, Pattern::kStripes}) {
          for (const auto& s : sizes) {
            // The big size only for the patterns that stress the tables.
            if (s[0] > 100 && pattern != Pattern::kRandom && pattern != Pattern::kRuns) continue;
            const int c = colors;
            const Bytes px = MakePixels(pattern, s[0], s[1], c, static_cast<unsigned>(cases));
            const Bytes gif = SaveSimplePicture(OneFrame(s[0], s[1], c, px, coder, interlaced));
            std::string error;
            const auto peer = DecodeWithGiflib(gif, &error);
            const std::string where = "coder " + std::to_string(coder) + " interlaced " +
                                      std::to_string(interlaced) + " colours " + std::to_string(c) +
                                      " pattern " + std::to_string(static_cast<int>(pattern)) +
                                      " size " + std::to_string(s[0]) + "x" + std::to_string(s[1]);
            ASSERT_EQ(error, "") << where;
            ASSERT_EQ(peer.frames.size(), 1u) << where;
            ASSERT_EQ(peer.frames[0].pixels, px) << where;
            ASSERT_EQ(peer.frames[0].interlaced, interlaced) << where;
            const int padded = 1 << ColorBits(c);
            ASSERT_EQ(peer.global_colors.size(), 3u * padded) << where;
            for (int i = 0; i < c; ++i) {
              const TGIFColor want = Ramp(c)[i];
              ASSERT_EQ(peer.global_colors[3 * i], want.red) << where;
              ASSERT_EQ(peer.global_colors[3 * i + 2], want.blue) << where;
            }
            // The plain decoder agrees, and the data end with an end code.
            const auto trace = TraceImageData(gif.data() + ImageDataOffset(gif),
                                              gif.size() - ImageDataOffset(gif));
            ASSERT_TRUE(trace.ended) << where;
            ASSERT_EQ(trace.min_code_size, std::max(2, ColorBits(c))) << where;
            ASSERT_EQ(ImageDataOffset(gif) + trace.consumed + 1, gif.size()) << where;
            ++cases;
          }
        }
      }
    }
  }
  EXPECT_GT(cases, 400);
}

// Long pictures fill the LZW table many times over and make the run-length
// coder cross its clear limits; both must stay decodable.
TEST(CoderRoundTrip, LongPicturesAcrossTableClears) {
  for (TGIFCompression coder : {gcLZW, gcRLE}) {
    for (int colors : {2, 16, 256}) {
      for (Pattern pattern : {Pattern::kRandom, Pattern::kRuns}) {
        const Bytes px = MakePixels(pattern, 1024, 700, colors, 7);
        const Bytes gif = SaveSimplePicture(OneFrame(1024, 700, colors, px, coder, false));
        const auto peer = DecodeWithGiflib(gif);
        ASSERT_EQ(peer.frames.size(), 1u);
        EXPECT_EQ(peer.frames[0].pixels, px) << coder << " " << colors;
      }
    }
  }
  // One run of about four million pixels: the run-length coder's table is
  // filled and cleared again and again.
  const Bytes flat(2000u * 2000u, 3);
  const Bytes gif = SaveSimplePicture(OneFrame(2000, 2000, 4, flat, gcRLE, false));
  EXPECT_EQ(DecodeWithGiflib(gif).frames.at(0).pixels, flat);
  EXPECT_LT(gif.size(), 20000u);
}

TEST(CoderCodes, MinimumCodeSizeAndCodeStream) {
  // Two colours are written with minimum code size 2.
  {
    const Bytes gif = SaveSimplePicture(OneFrame(4, 1, 2, {0, 1, 1, 0}, gcLZW, false));
    EXPECT_EQ(gif[ImageDataOffset(gif)], 2);
  }
  // Four colours: codes start at 3 bits, and 300 equal pixels need no clear
  // code after the first.
  for (TGIFCompression coder : {gcLZW, gcRLE}) {
    const Bytes gif = SaveSimplePicture(OneFrame(300, 1, 4, Bytes(300, 2), coder, false));
    const std::size_t at = ImageDataOffset(gif);
    const auto trace = TraceImageData(gif.data() + at, gif.size() - at);
    EXPECT_EQ(trace.min_code_size, 2);
    ASSERT_FALSE(trace.codes.empty());
    EXPECT_EQ(trace.codes.front(), 4);
    // The run-length coder clears once more after the run, to keep later
    // plain codes short.
    EXPECT_EQ(std::count(trace.codes.begin(), trace.codes.end(), 4), coder == gcLZW ? 1 : 2);
    EXPECT_EQ(trace.codes.back(), 5);
    EXPECT_EQ(trace.pixels, Bytes(300, 2));
  }
}

// A run of n equal pixels costs about sqrt(2n) codes with the run-length
// coder; mixed pixels go out one code each.
TEST(CoderCodes, RunLengthCodesGrowWithSquareRootOfRun) {
  for (int n : {10, 100, 1000, 5000}) {
    const Bytes gif = SaveSimplePicture(OneFrame(n, 1, 16, Bytes(n, 5), gcRLE, false));
    const std::size_t at = ImageDataOffset(gif);
    const auto trace = TraceImageData(gif.data() + at, gif.size() - at);
    EXPECT_EQ(trace.pixels, Bytes(n, 5));
    const double codes = static_cast<double>(trace.codes.size() - 2);  // clear and end
    EXPECT_LE(codes, std::sqrt(2.0 * n) + 2) << n;
  }
}

TEST(CoderCodes, InterlacedRowsGoOutPassByPass) {
  // Height 3: pass 0 row 0, pass 1 empty, pass 2 row 2, pass 3 row 1.
  const Bytes px = {1, 1, 2, 2, 3, 3};
  for (TGIFCompression coder : {gcLZW, gcRLE}) {
    const Bytes gif = SaveSimplePicture(OneFrame(2, 3, 4, px, coder, true));
    const std::size_t at = ImageDataOffset(gif);
    EXPECT_EQ(TraceImageData(gif.data() + at, gif.size() - at).pixels, Bytes({1, 1, 3, 3, 2, 2}));
  }
  // Height 10: rows 0 8 | 4 | 2 6 | 1 3 5 7 9.
  Bytes rows(10);
  for (int y = 0; y < 10; ++y) rows[y] = static_cast<std::uint8_t>(y);
  const Bytes gif = SaveSimplePicture(OneFrame(1, 10, 16, rows, gcLZW, true));
  const std::size_t at = ImageDataOffset(gif);
  EXPECT_EQ(TraceImageData(gif.data() + at, gif.size() - at).pixels,
            Bytes({0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
}

TEST(CoderErrors, PixelBeyondTheTableIsRefused) {
  for (TGIFCompression coder : {gcLZW, gcRLE}) {
    // 3 colours: the index 3 fits the 2-bit code but not the table.
    Bytes out;
    try {
      CompressFrame(out, coder, 2, 3, Bytes({0, 1, 3, 2}).data(), false, 2, 2);
      ADD_FAILURE() << "no error for coder " << coder;
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), msg::kColorNotInTable);
    }
  }
  // A frame of 256 colours accepts every byte.
  Bytes all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  Bytes out;
  EXPECT_NO_THROW(CompressFrame(out, gcLZW, 8, 256, all.data(), false, 16, 16));
}

TEST(CoderCodes, FrameWithoutPixelsWritesOnlyTheEndCode) {
  Bytes out;
  CompressFrame(out, gcLZW, 2, 4, nullptr, false, 0, 0);
  const auto trace = TraceImageData(out.data(), out.size());
  EXPECT_EQ(trace.codes, std::vector<int>({5}));
  EXPECT_EQ(trace.consumed, out.size());
}

// A probe sequence whose slots all hold other keys must end, not spin.
TEST(HashTable, FullProbeSequenceEnds) {
  THashTable table;
  const std::uint32_t key = 0x12345;
  int slot = static_cast<int>((key ^ (key >> 4)) % THashTable::kSize);
  for (int i = 0; i < THashTable::kSize; ++i) {
    table.Put(slot, 0x00001, 7);
    slot = slot == 0 ? THashTable::kSize - 1 : (2 * slot) % THashTable::kSize;
  }
  EXPECT_EQ(table.FindSlot(key), -1);
  // A fresh table answers the hash slot itself, and finds what was put there.
  THashTable fresh;
  const int home = fresh.FindSlot(key);
  EXPECT_EQ(home, static_cast<int>((key ^ (key >> 4)) % THashTable::kSize));
  fresh.Put(home, key, 300);
  EXPECT_EQ(fresh.FindSlot(key), home);
  EXPECT_EQ(fresh.CodeAt(home), 300u);
}

TEST(SubBlockWriter, PacksBlocksOf255AndRefusesReadingAndSeeking) {
  for (std::size_t n : {0u, 1u, 254u, 255u, 256u, 510u, 600u}) {
    Bytes out;
    TGIFWriter w(out);
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<std::uint8_t>(i * 31);
    // Written in uneven pieces, to cross block ends inside a call.
    std::size_t done = 0;
    for (std::size_t piece = 1; done < n; piece = piece * 3 + 1) {
      const std::size_t k = std::min(piece, n - done);
      w.Write(data.data() + done, k);
      done += k;
    }
    w.Flush();
    Bytes expect;
    WriteSubBlocks(expect, data.data(), n);
    EXPECT_EQ(out, expect) << n;
    EXPECT_EQ(out.size(), n + (n + 254) / 255) << n;
  }
  Bytes out;
  TGIFWriter w(out);
  std::uint8_t b;
  for (int op = 0; op < 3; ++op) {
    try {
      if (op == 0) w.Read(&b, 1);
      if (op == 1) w.Seek(0, TGIFStream::Origin::kBegin);
      if (op == 2) {
        TGIFStream base;
        base.Write(&b, 1);
      }
      ADD_FAILURE() << "operation " << op << " allowed";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), msg::kInvalidStreamOperation);
    }
  }
}

// giflib's own streams, every depth, decode the same with the plain decoder
// (our reader takes its place once it lands; see model tests).
TEST(PeerStreams, GiflibWrittenStreamsAgree) {
  for (int bits = 1; bits <= 8; ++bits) {
    const int colors = 1 << bits;
    Bytes rgb;
    for (const TGIFColor& c : Ramp(colors)) rgb.insert(rgb.end(), {c.red, c.green, c.blue});
    for (bool interlaced : {false, true}) {
      const Bytes px = MakePixels(Pattern::kRandom, 37, 29, colors, static_cast<unsigned>(bits));
      const Bytes gif = test::EncodeWithGiflib(37, 29, rgb, px, interlaced);
      const auto back = DecodeWithGiflib(gif);
      ASSERT_EQ(back.frames.size(), 1u);
      EXPECT_EQ(back.frames[0].pixels, px);
    }
  }
}

}  // namespace
}  // namespace rf::gif
