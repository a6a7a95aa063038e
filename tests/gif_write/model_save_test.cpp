// Saving the picture objects: stream layout rules, extensions, progress, and
// round trips through our reader and giflib.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/model/gifsimple.h"
#include "gif/write/gifsave.h"
#include "giflib_peer.h"

namespace rf::gif {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Save(TGIFImage& image) {
  Bytes out;
  image.SaveToStream(out);
  return out;
}

std::unique_ptr<TGIFImage> Load(const Bytes& bytes) {
  auto image = std::make_unique<TGIFImage>();
  image->LoadFromBytes(bytes);
  return image;
}

std::vector<TGIFColor> Grey(int count) {
  std::vector<TGIFColor> c;
  for (int i = 0; i < count; ++i) {
    const auto v = static_cast<std::uint8_t>(i * 255 / std::max(count - 1, 1));
    c.push_back({v, v, v});
  }
  return c;
}

SimpleFrame Frame(int w, int h, int colors, int seed = 0) {
  SimpleFrame f;
  f.width = w;
  f.height = h;
  for (int i = 0; i < w * h; ++i)
    f.pixels.push_back(static_cast<std::uint8_t>((i * 7 + seed) % colors));
  return f;
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

TEST(SaveLayout, VersionFollowsWhatTheFramesNeed) {
  SimplePicture pic;
  pic.width = pic.height = 4;
  pic.colors = Grey(4);
  pic.frames.push_back(Frame(4, 4, 4));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(SaveSimplePicture(pic).data()), 6), "GIF87a");
  pic.frames.push_back(Frame(4, 4, 4));
  pic.frames.back().comments = {"x"};
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(SaveSimplePicture(pic).data()), 6), "GIF89a");

  // A sorted local table needs 89a as well.
  auto image = BuildSimpleImage(pic);
  image->Images()[1].Extensions().Clear();
  EXPECT_EQ(Save(*image)[4], '7');
  image->Images()[0].ColorMap().SetCount(4);
  image->Images()[0].ColorMap().SetOptimized(true);
  const Bytes sorted = Save(*image);
  EXPECT_EQ(sorted[4], '9');

  TGIFImage empty;
  EXPECT_EQ(ErrorOf([&] { Save(empty); }), msg::kUnsupportedVersion);
}

// The screen descriptor's size field always matches the global table that
// follows, even when a local table is larger.
TEST(SaveLayout, ScreenDescriptorAgreesWithGlobalTable) {
  struct Case {
    int global, local;
    std::uint8_t packed;  // expected screen packed byte
  } cases[] = {
      {2, 0, 0x80 | 0x00 | 0x00},     // 1 bit
      {3, 0, 0x80 | 0x10 | 0x01},     // 2 bits
      {16, 0, 0x80 | 0x30 | 0x03},    // 4 bits
      {16, 256, 0x80 | 0x70 | 0x03},  // resolution from the local table, size from the global
      {256, 2, 0x80 | 0x70 | 0x07},  {0, 8, 0x20},  // no global table
  };
  for (const Case& c : cases) {
    SimplePicture pic;
    pic.width = pic.height = 3;
    pic.colors = Grey(c.global);
    pic.frames.push_back(Frame(3, 3, c.local ? c.local : c.global));
    pic.frames.back().local_colors = Grey(c.local);
    pic.frames.push_back(Frame(3, 3, c.global ? c.global : c.local));
    if (!c.global) pic.frames.back().local_colors = Grey(c.local);
    const Bytes gif = SaveSimplePicture(pic);
    EXPECT_EQ(gif[10], c.packed) << c.global << "/" << c.local;
    std::string error;
    const auto peer = test::DecodeWithGiflib(gif, &error);
    ASSERT_EQ(error, "") << c.global << "/" << c.local;
    EXPECT_EQ(peer.global_colors.size(), c.global ? 3u << ColorBits(c.global) : 0u);
    ASSERT_EQ(peer.frames.size(), 2u);
    EXPECT_EQ(peer.frames[0].pixels, pic.frames[0].pixels);
    EXPECT_EQ(peer.frames[1].pixels, pic.frames[1].pixels);
  }
}

TEST(SaveLayout, CodeSizeAndColourCountPerFrame) {
  // A frame without a local table in a picture whose only table has 16
  // entries codes with minimum code size 4.
  SimplePicture pic;
  pic.width = pic.height = 4;
  pic.colors = Grey(16);
  pic.frames.push_back(Frame(4, 4, 16));
  Bytes gif = SaveSimplePicture(pic);
  EXPECT_EQ(gif[13 + 48 + 10], 4);
  // Indexes must stay inside the global table as written (16 entries), even
  // when another frame's local table is larger.
  pic.frames.push_back(Frame(2, 2, 256));
  pic.frames.back().local_colors = Grey(256);
  pic.frames[0].pixels[5] = 16;
  EXPECT_EQ(ErrorOf([&] { SaveSimplePicture(pic); }), msg::kColorNotInTable);
  pic.frames[0].pixels[5] = 15;
  EXPECT_EQ(ErrorOf([&] { SaveSimplePicture(pic); }), "");
  // A frame resized by hand after its pixels were made is refused, not
  // read past its buffer.
  auto image = BuildSimpleImage(pic);
  image->Images()[0].Descriptor().Width = 5;
  EXPECT_EQ(ErrorOf([&] { Save(*image); }), msg::kInvalidDimensions);
  // A local table of 3 colours refuses index 3.
  pic.frames[1].local_colors = Grey(3);
  pic.frames[1].pixels = {0, 1, 2, 3};
  EXPECT_EQ(ErrorOf([&] { SaveSimplePicture(pic); }), msg::kColorNotInTable);
}

TEST(SaveLayout, FramePackedByteAndInterlace) {
  SimplePicture pic;
  pic.width = pic.height = 9;
  pic.colors = Grey(4);
  pic.frames.push_back(Frame(9, 9, 4));
  pic.frames.back().interlaced = true;
  pic.frames.push_back(Frame(9, 9, 8, 3));
  pic.frames.back().local_colors = Grey(8);
  pic.frames.back().interlaced = true;
  auto image = BuildSimpleImage(pic);
  // Bits a reader left in the descriptor: reserved bits and a stale size go.
  image->Images()[0].Descriptor().Packed |= 0x18 | 0x07;
  const Bytes gif = Save(*image);
  auto back = Load(gif);
  ASSERT_EQ(back->Images().Count(), 2u);
  EXPECT_EQ(back->Images()[0].Descriptor().Packed, 0x40 | 0x18);
  // A local table: bit 7, its size, and the interlace kept with the data.
  EXPECT_EQ(back->Images()[1].Descriptor().Packed, 0x80 | 0x40 | 0x02);
  for (int i = 0; i < 2; ++i) {
    const auto px = back->Images()[i].Pixels();
    EXPECT_EQ(Bytes(px.begin(), px.end()), pic.frames[i].pixels) << i;
  }
  const auto peer = test::DecodeWithGiflib(gif);
  ASSERT_EQ(peer.frames.size(), 2u);
  EXPECT_EQ(peer.frames[1].pixels, pic.frames[1].pixels);
}

TEST(SaveExtensions, BytesAsTheStandardLaysThemOut) {
  TGIFImage image;
  TGIFSubImage& frame = image.Images().Add(std::make_unique<TGIFSubImage>(&image));
  // A loop extension with loop count 0 and buffer size 0.
  auto loop = std::make_unique<TGIFAppExtNSLoop>(&frame);
  Bytes out;
  loop->SaveToStream(out);
  const char want_loop[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00";
  EXPECT_EQ(out, Bytes(want_loop, want_loop + sizeof want_loop - 1));
  loop->SetLoopCount(0x1234);
  loop->SetBufferSize(0x0A0B0C0D);
  out.clear();
  loop->SaveToStream(out);
  const char want_buffer[] = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x34\x12\x05\x02\x0D\x0C\x0B\x0A\x00";
  EXPECT_EQ(out, Bytes(want_buffer, want_buffer + sizeof want_buffer - 1));

  // A text line of 300 characters goes out as sub-blocks of 255 and 45; an
  // empty line writes nothing.
  TGIFTextExtension text(&frame);
  text.Text() = {std::string(300, 'a'), "", "bc"};
  out.clear();
  text.SaveToStream(out);
  ASSERT_EQ(out.size(), 2u + 13 + 1 + 255 + 1 + 45 + 1 + 2 + 1);
  EXPECT_EQ(out[0], 0x21);
  EXPECT_EQ(out[1], 0x01);
  EXPECT_EQ(out[2], 12);
  EXPECT_EQ(out[15], 255);
  EXPECT_EQ(out[15 + 256], 45);
  EXPECT_EQ(out[15 + 256 + 46], 2);
  EXPECT_EQ(out.back(), 0);

  TGIFCommentExtension comment(&frame);
  out.clear();
  comment.SaveToStream(out);
  EXPECT_EQ(out, Bytes({0x21, 0xFE, 0x00}));

  TGIFGraphicControlExtension gce(&frame);
  gce.SetDelay(500);
  gce.SetDisposal(2);
  out.clear();
  gce.SaveToStream(out);
  EXPECT_EQ(out, Bytes({0x21, 0xF9, 0x04, 0x08, 0xF4, 0x01, 0x00, 0x00}));

  TGIFUnknownAppExtension unknown(&frame);
  unknown.Identifier() = MakeAppIdentifier("XMP DataXMP");
  unknown.Blocks() = {TGIFBlock{{1, 2, 3}}, TGIFBlock{Bytes(300, 9)}};
  out.clear();
  unknown.SaveToStream(out);
  ASSERT_EQ(out.size(), 3u + 11 + 4 + 256 + 46 + 1);
  EXPECT_EQ(out[14], 3);
  EXPECT_EQ(out[18], 255);  // an over-long kept block is cut, never wrapped
  EXPECT_EQ(out[18 + 256], 45);
}

// Extensions in front of the trailer make a frame without pixels; saved, it
// writes only its extensions and reads back the same way.
TEST(SaveRoundTrip, FramesWithoutPixelsAndExtensionsSurvive) {
  SimplePicture pic;
  pic.width = 5;
  pic.height = 4;
  pic.colors = Grey(2);
  pic.loop_count = 3;
  pic.frames.push_back(Frame(5, 4, 2));
  pic.frames.back().control = SimpleControl{25, 1, false, 1};
  auto image = BuildSimpleImage(pic);
  TGIFSubImage& tail = image->Images().Add(std::make_unique<TGIFSubImage>(image.get()));
  auto comment = std::make_unique<TGIFCommentExtension>(&tail);
  comment->Comment() = {"made here"};
  tail.Extensions().Add(std::move(comment));

  const Bytes gif = Save(*image);
  auto back = Load(gif);
  ASSERT_EQ(back->Images().Count(), 2u);
  const TGIFSubImage& first = back->Images()[0];
  ASSERT_EQ(first.Extensions().Count(), 2u);
  ASSERT_NE(back->LoopExtension(), nullptr);
  EXPECT_EQ(back->LoopExtension()->LoopCount(), 3);
  ASSERT_NE(first.GraphicControlExtension(), nullptr);
  EXPECT_EQ(first.GraphicControlExtension()->Delay(), 25);
  EXPECT_EQ(first.GraphicControlExtension()->Disposal(), 1);
  EXPECT_TRUE(first.Transparent());
  EXPECT_EQ(first.TransparentIndex(), 1);
  EXPECT_TRUE(back->Images()[1].Empty());
  ASSERT_EQ(back->Images()[1].Extensions().Count(), 1u);
  EXPECT_EQ(Save(*back), gif);

  const auto peer = test::DecodeWithGiflib(gif);
  EXPECT_EQ(peer.loop_count, 3);
  EXPECT_EQ(peer.transparent, 1);
  EXPECT_EQ(peer.delay, 25);
}

TEST(SaveProgress, StagesAndPercentages) {
  SimplePicture pic;
  pic.width = pic.height = 2;
  pic.colors = Grey(2);
  for (int i = 0; i < 3; ++i) pic.frames.push_back(Frame(2, 2, 2));
  auto image = BuildSimpleImage(pic);
  std::vector<std::pair<int, int>> seen;
  image->OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, bool, const TGIFRect&,
                          const std::string& message) {
    EXPECT_EQ(message, msg::kSaving);
    seen.emplace_back(stage, percent);
  };
  Save(*image);
  EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 0}, {1, 33}, {1, 67}, {1, 100}, {2, 100}}));
  // A failure still ends the report, at 0 %.
  seen.clear();
  image->Images()[1].Pixels()[0] = 7;
  EXPECT_EQ(ErrorOf([&] { Save(*image); }), msg::kColorNotInTable);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), std::make_pair(2, 0));
}

// Every stream of the shared suite that our reader reads is saved and read
// back to the same frames, and giflib agrees on the saved stream.
TEST(SaveRoundTrip, SharedSuiteReadSaveRead) {
  const std::filesystem::path dir = std::filesystem::path(RF_SHARED_DIR) / "gif-test-suite";
  if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no " << dir << " (RF_SHARED_DIR)";
  int saved = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".gif") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TGIFImage image;
    try {
      image.LoadFromBytes(original);
    } catch (const GIFException&) {
      continue;  // only what our reader takes
    }
    if (image.Empty()) continue;
    for (TGIFCompression coder : {gcLZW, gcRLE}) {
      image.Compression = coder;
      Bytes gif;
      try {
        image.SaveToStream(gif);
      } catch (const GIFException& e) {
        // Pictures whose indexes lie beyond their tables cannot be written.
        EXPECT_STREQ(e.what(), msg::kColorNotInTable) << entry.path();
        continue;
      }
      const std::string name = entry.path().filename().string() + " coder " + std::to_string(coder);
      auto back = Load(gif);
      ASSERT_EQ(back->Images().Count(), image.Images().Count()) << name;
      EXPECT_EQ(back->Width(), image.Width()) << name;
      EXPECT_EQ(back->GlobalColorMap().Count() >= image.GlobalColorMap().Count(), true) << name;
      for (std::size_t i = 0; i < image.Images().Count(); ++i) {
        const TGIFSubImage& a = image.Images()[i];
        const TGIFSubImage& b = back->Images()[i];
        ASSERT_EQ(a.Pixels().size(), b.Pixels().size()) << name << " frame " << i;
        EXPECT_TRUE(std::equal(a.Pixels().begin(), a.Pixels().end(), b.Pixels().begin()))
            << name << " frame " << i;
        EXPECT_EQ(a.Extensions().Count(), b.Extensions().Count()) << name;
        EXPECT_EQ(a.Transparent(), b.Transparent()) << name;
      }
      std::string error;
      const auto peer = test::DecodeWithGiflib(gif, &error);
      if (error.empty()) {
        std::size_t f = 0;
        for (std::size_t i = 0; i < image.Images().Count(); ++i) {
          const TGIFSubImage& a = image.Images()[i];
          if (a.Empty()) continue;
          ASSERT_LT(f, peer.frames.size()) << name;
          EXPECT_TRUE(std::equal(a.Pixels().begin(), a.Pixels().end(),
                                 peer.frames[f].pixels.begin(), peer.frames[f].pixels.end()))
              << name << " frame " << i;
          ++f;
        }
      } else if (entry.path().filename() != "nul-comment.gif") {
        // giflib's DGifSlurp cannot read an extension without data
        // sub-blocks (it takes the next block for data); the comment of
        // nul-comment.gif is such a one once cut at its zero byte.
        ADD_FAILURE() << name << ": giflib says " << error;
      }
      ++saved;
    }
  }
  EXPECT_GT(saved, 100);
}

// Streams giflib writes, every depth, read the same with our reader.
TEST(SaveRoundTrip, GiflibStreamsReadByOurReader) {
  for (int bits = 1; bits <= 8; ++bits) {
    for (bool interlaced : {false, true}) {
      const int colors = 1 << bits;
      Bytes rgb;
      for (const TGIFColor& c : Grey(colors)) rgb.insert(rgb.end(), {c.red, c.green, c.blue});
      const SimpleFrame f = Frame(41, 23, colors, bits);
      const Bytes gif = test::EncodeWithGiflib(41, 23, rgb, f.pixels, interlaced);
      auto image = Load(gif);
      ASSERT_EQ(image->Images().Count(), 1u);
      const auto px = image->Images()[0].Pixels();
      EXPECT_EQ(Bytes(px.begin(), px.end()), f.pixels) << bits << " " << interlaced;
      EXPECT_EQ(image->GlobalColorMap().Count(), colors);
    }
  }
}

}  // namespace
}  // namespace rf::gif
