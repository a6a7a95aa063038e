// Reading the structure of GIF streams: signature, blocks, extensions,
// their errors and warnings, the picture's links, registries and events.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif_test_streams.h"

namespace rf::gif::test {
namespace {

struct ReadResult {
  std::unique_ptr<TGIFImage> image = std::make_unique<TGIFImage>();
  std::vector<std::string> warnings;
  std::string error;
  std::size_t position = 0;
};

ReadResult Read(const Bytes& data) {
  ReadResult r;
  r.image->OnWarning = [&r](TGIFImage&, TGIFSeverity severity, const std::string& m) {
    EXPECT_EQ(severity, gsWarning);
    r.warnings.push_back(m);
  };
  GIFInputStream in(data);
  try {
    r.image->LoadFromStream(in);
  } catch (const GIFException& e) {
    r.error = e.what();
  }
  r.position = in.Position();
  r.image->OnWarning = nullptr;
  return r;
}

// One 2 × 2 frame of pixels 0 1 2 3 with the default 4-colour table.
Bytes Frame(const Bytes& extensions = {}, int width = 2, int height = 2) {
  return Concat(
      {extensions, Descriptor(0, 0, width, height), Lzw(Bytes{0, 1, 2, 3}, {.min_code_size = 2})});
}
const Bytes kHead = Header(2, 2);
const Bytes kTrailer = {0x3B};

using Check = std::function<void(const TGIFImage&)>;

struct Case {
  const char* name;
  Bytes data;
  std::string error;
  std::vector<std::string> warnings;
  std::size_t frames;
  Check check = nullptr;
};

const TGIFExtension& Ext(const TGIFImage& image, std::size_t frame, std::size_t k) {
  return image.Images()[frame].Extensions()[k];
}

TEST(GifRead, StreamsAndTheirOutcomes) {
  const Case cases[] = {
      {"stored picture shape",
       Concat({Header(2, 2, 256), Frame(GraphicControl(0, 0, false, 0)), kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         const TGIFSubImage& f = image.Images()[0];
         EXPECT_EQ(image.GlobalColorMap().Count(), 256);
         EXPECT_EQ(image.GlobalColorMap().Capacity(), 256);
         EXPECT_EQ(f.ColorMap().Count(), 0);
         EXPECT_EQ(&f.ActiveColorMap(), &image.GlobalColorMap());
         EXPECT_EQ(f.Extensions().Count(), 1u);
         EXPECT_FALSE(f.Transparent());
         EXPECT_EQ(f.GraphicControlExtension(), &f.Extensions()[0]);
         EXPECT_EQ(Bytes(f.Pixels().begin(), f.Pixels().end()), (Bytes{0, 1, 2, 3}));
       }},
      {"lower-case signature, unknown version",
       Concat({Header(2, 2, 4, 0, "gif12z"), Frame(), kTrailer}),
       "",
       {},
       1},
      {"4 bytes in front of the signature",
       Concat({Str("abcd"), kHead, Frame(), kTrailer}),
       "",
       {},
       1},
      {"5 bytes in front of the signature",
       Concat({Str("abcde"), kHead, Frame(), kTrailer}),
       msg::kInvalidSignature,
       {},
       0},
      {"signature cut short", Str("GIF8"), msg::kPrematureEnd, {}, 0},
      {"screen descriptor cut short",
       Bytes{'G', 'I', 'F', '8', '9', 'a', 2, 0, 2},
       msg::kPrematureEnd,
       {},
       0},
      {"zero bytes between blocks",
       Concat({kHead, {0, 0}, Frame(), {0}, Frame(), {0, 0}, kTrailer}),
       "",
       {},
       2},
      {"no trailer", Concat({kHead, Frame()}), "", {}, 1},
      {"unknown block after a frame",
       Concat({kHead, Frame(), {0x42}, Frame(), kTrailer}),
       "",
       {msg::kUnknownBlock, msg::kInvalidTrailer},
       1},
      {"comment in front of the trailer",
       Concat({kHead, Frame(), Comment("bye"), kTrailer}),
       "",
       {},
       2,
       [](const TGIFImage& image) {
         const TGIFSubImage& f = image.Images()[1];
         EXPECT_TRUE(f.Empty());
         ASSERT_EQ(f.Extensions().Count(), 1u);
         auto& c = dynamic_cast<const TGIFCommentExtension&>(f.Extensions()[0]);
         EXPECT_EQ(c.Comment(), std::vector<std::string>{"bye"});
       }},
      {"frame of width 0 takes the screen's size",
       Concat({Header(2, 1), Descriptor(0, 0, 0, 7), Lzw(Bytes{1, 2}), kTrailer}),
       "",
       {msg::kExceedsScreen},
       1,
       [](const TGIFImage& image) {
         const TGIFSubImage& f = image.Images()[0];
         EXPECT_EQ(f.Width(), 2);
         EXPECT_EQ(f.Height(), 1);
         EXPECT_EQ(Bytes(f.Pixels().begin(), f.Pixels().end()), (Bytes{1, 2}));
       }},
      {"unknown extension label",
       Concat({kHead, Frame(), Frame({0x21, 0xFA, 1, 0, 0}), kTrailer}),
       msg::kUnknownExtension,
       {},
       1},
      {"unknown application identifier",
       Concat({kHead, Frame(Concat({{0x21, 0xFF, 11}, Str("XMP DataXMP"), {2, 7, 8, 1, 9, 0}})),
               kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         auto& app = dynamic_cast<const TGIFUnknownAppExtension&>(Ext(image, 0, 0));
         EXPECT_EQ(app.IdentifierText(), "XMP DataXMP");
         ASSERT_EQ(app.Blocks().size(), 2u);
         EXPECT_EQ(app.Blocks()[0].Data, (Bytes{7, 8}));
         EXPECT_EQ(app.Blocks()[1].Data, (Bytes{9}));
       }},
      {"loop count",
       Concat({kHead, Frame(Loop(5)), kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         ASSERT_NE(image.LoopExtension(), nullptr);
         EXPECT_EQ(image.LoopExtension()->LoopCount(), 5);
       }},
      {"ANIMEXTS loop with buffer size",
       Concat({kHead,
               Frame(Concat(
                   {{0x21, 0xFF, 11}, Str("ANIMEXTS1.0"), {5, 2, 1, 2, 3, 4, 3, 1, 9, 0, 0}})),
               kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         auto& loop = dynamic_cast<const TGIFAppExtNSLoop&>(Ext(image, 0, 0));
         EXPECT_EQ(loop.LoopCount(), 9);
         EXPECT_EQ(loop.BufferSize(), 0x04030201u);
       }},
      {"loop sub-block too short",
       Concat(
           {kHead, Frame(Concat({{0x21, 0xFF, 11}, Str("NETSCAPE2.0"), {2, 1, 5, 0}})), kTrailer}),
       msg::kInvalidData,
       {},
       0},
      {"application block size below 10",
       Concat({kHead, Frame(Concat({{0x21, 0xFF, 9}, Str("NETSCAPE2"), {0}})), kTrailer}),
       msg::kUnsupportedAppBlockSize,
       {},
       0},
      {"application block size 10",
       Concat(
           {kHead, Frame(Concat({{0x21, 0xFF, 10}, Str("NETSCAPE2."), {1, 0x33, 0}})), kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         auto& app = dynamic_cast<const TGIFUnknownAppExtension&>(Ext(image, 0, 0));
         EXPECT_EQ(app.IdentifierText(), "NETSCAPE2.\x01");
         ASSERT_EQ(app.Blocks().size(), 1u);
       }},
      {"application block size above 11 keeps its blocks",
       Concat({kHead, Frame(Concat({{0x21, 0xFF, 13}, Str("NETSCAPE2.0xy"), {1, 0x33, 0}})),
               kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         auto& app = dynamic_cast<const TGIFUnknownAppExtension&>(Ext(image, 0, 0));
         EXPECT_EQ(app.IdentifierText(), "NETSCAPE2.0");
         ASSERT_EQ(app.Blocks().size(), 1u);
         EXPECT_EQ(app.Blocks()[0].Data, Bytes{0x33});
       }},
      {"transparent graphic control; a second one is not linked",
       Concat({kHead,
               Frame(Concat({GraphicControl(2, 7, true, 3), GraphicControl(0, 9, false, 1)})),
               kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         const TGIFSubImage& f = image.Images()[0];
         EXPECT_TRUE(f.Transparent());
         EXPECT_EQ(f.TransparentIndex(), 3);
         EXPECT_EQ(f.GraphicControlExtension(), &f.Extensions()[0]);
         EXPECT_EQ(f.GraphicControlExtension()->Delay(), 7);
         EXPECT_EQ(f.GraphicControlExtension()->Disposal(), 2);
       }},
      {"graphic control cut short",
       Concat({kHead, Bytes{0x21, 0xF9, 4, 1, 0}}),
       "",
       {msg::kPrematureEnd},
       1,
       [](const TGIFImage& image) { EXPECT_FALSE(image.Images()[0].Transparent()); }},
      {"local table runs out",
       Concat({kHead, Frame(), Descriptor(0, 0, 1, 1, 0x81), {1, 2, 3}}),
       msg::kPrematureEnd,
       {},
       1},
      {"invalid introducer inside an extension run",
       Concat({kHead, Comment("a"), {0x2B}, Bytes(9, 0), Lzw(Bytes{0}), kTrailer}),
       "",
       {msg::kInvalidIntroducer, msg::kExceedsScreen},
       1,
       [](const TGIFImage& image) { EXPECT_EQ(image.Images()[0].Descriptor().Separator, 0x2B); }},
      {"plain text",
       Concat({kHead,
               Frame(Concat({{0x21, 0x01, 12, 1, 0, 2, 0, 3, 0, 4, 0, 5, 6, 7, 8},
                             SubBlocks(Bytes{'H', 'i', 0, 'x'})})),
               kTrailer}),
       "",
       {},
       1,
       [](const TGIFImage& image) {
         auto& text = dynamic_cast<const TGIFTextExtension&>(Ext(image, 0, 0));
         EXPECT_EQ(text.GridLeft(), 1);
         EXPECT_EQ(text.GridHeight(), 4);
         EXPECT_EQ(text.CellWidth(), 5);
         EXPECT_EQ(text.BackgroundColorIndex(), 8);
         EXPECT_EQ(text.Text(), std::vector<std::string>{"Hi"});
       }},
      {"comment line cut short", Concat({kHead, {0x21, 0xFE, 9, 'a'}}), msg::kPrematureEnd, {}, 0},
      {"frame too large to decode",
       Concat({Header(65535, 65535), Descriptor(0, 0, 0, 0), {2, 0}}),
       msg::kImageTooLarge,
       {msg::kExceedsScreen},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReadResult r = Read(c.data);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.warnings, c.warnings);
    EXPECT_EQ(r.image->Images().Count(), c.frames);
    // A failed read puts the stream back where it began.
    if (!c.error.empty()) {
      EXPECT_EQ(r.position, 0u);
    }
    if (c.check && c.error.empty() && r.image->Images().Count() == c.frames) c.check(*r.image);
  }
}

TEST(GifRead, FramesTogetherAreLimited) {
  Bytes data = Concat({Header(100, 100), Frame({}, 100, 100), Frame({}, 100, 100), kTrailer});
  TGIFImage image;
  image.MaxImagePixels = 15000;
  EXPECT_THROW(image.LoadFromBytes(data), GIFException);
  EXPECT_EQ(image.Images().Count(), 1u);
  image.MaxImagePixels = 20000;
  image.LoadFromBytes(data);
  EXPECT_EQ(image.Images().Count(), 2u);
}

TEST(GifRead, ProgressReportsStagesAndPercent) {
  struct Event {
    TProgressStage stage;
    int percent;
    bool redraw;
  };
  for (bool fail : {false, true}) {
    Bytes data = Concat({kHead, Frame(), Frame()});
    if (fail) data.push_back(0x2C);  // a frame cut short
    TGIFImage image;
    std::vector<Event> events;
    image.OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, bool redraw,
                           const TGIFRect& rect, const std::string& message) {
      EXPECT_EQ(message, msg::kLoading);
      EXPECT_EQ(rect.right, 0);
      events.push_back({stage, percent, redraw});
    };
    try {
      image.LoadFromBytes(data);
    } catch (const GIFException&) {
    }
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].stage, psStarting);
    EXPECT_EQ(events[1].stage, psRunning);
    EXPECT_EQ(events[2].stage, psRunning);
    EXPECT_FALSE(events[1].redraw);
    EXPECT_EQ(events[2].percent, fail ? (data.size() - 1) * 100 / data.size() + 0 : 100);
    EXPECT_EQ(events[3].stage, psEnding);
    EXPECT_TRUE(events[3].redraw);
    EXPECT_EQ(events[3].percent, fail ? 0 : 100);
  }
}

// A class of a test: a comment extension under another name.
class TNoteExtension : public TGIFCommentExtension {
 public:
  static const TGIFExtensionClass& StaticClass() {
    static const TGIFExtensionClass cls{"TNoteExtension", 0xFE,
                                        [](TGIFSubImage* frame) -> std::unique_ptr<TGIFExtension> {
                                          return std::make_unique<TNoteExtension>(frame);
                                        },
                                        &RefineToSelf};
    return cls;
  }
  using TGIFCommentExtension::TGIFCommentExtension;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }
};

TEST(GifRead, LaterRegistrationsTakePrecedence) {
  Bytes data = Concat({kHead, Frame(Comment("x")), kTrailer});
  RegisterExtension(0xFE, TNoteExtension::StaticClass());
  TGIFImage image;
  image.LoadFromBytes(data);
  EXPECT_NE(dynamic_cast<const TNoteExtension*>(&image.Images()[0].Extensions()[0]), nullptr);
  UnregisterExtension(0xFE, TNoteExtension::StaticClass());
  image.LoadFromBytes(data);
  EXPECT_EQ(dynamic_cast<const TNoteExtension*>(&image.Images()[0].Extensions()[0]), nullptr);

  Bytes app = Concat({kHead, Frame(Loop(3, "MYAPP  1.00")), kTrailer});
  const auto id = MakeAppIdentifier("MYAPP  1.00");
  image.LoadFromBytes(app);
  EXPECT_EQ(image.LoopExtension(), nullptr);
  RegisterAppExtension(id, TGIFAppExtNSLoop::StaticClass());
  image.LoadFromBytes(app);
  ASSERT_NE(image.LoopExtension(), nullptr);
  EXPECT_EQ(image.LoopExtension()->LoopCount(), 3);
  UnregisterAppExtension(id, TGIFAppExtNSLoop::StaticClass());
}

TEST(GifRead, GraphicControlLinkFollowsItsExtension) {
  TGIFImage image;
  image.LoadFromBytes(
      Concat({kHead, Frame(Concat({GraphicControl(0, 0, true, 2), GraphicControl(0, 0, false, 0)})),
              kTrailer}));
  TGIFSubImage& frame = image.Images()[0];
  frame.Extensions().Remove(1);
  EXPECT_TRUE(frame.Transparent());
  EXPECT_NE(frame.GraphicControlExtension(), nullptr);
  frame.Extensions().Remove(0);
  EXPECT_FALSE(frame.Transparent());
  EXPECT_EQ(frame.GraphicControlExtension(), nullptr);
  EXPECT_EQ(frame.TransparentIndex(), 0);
}

TEST(GifRead, BackgroundColor) {
  TGIFImage image;
  std::vector<std::string> warnings;
  image.OnWarning = [&](TGIFImage&, TGIFSeverity, const std::string& m) { warnings.push_back(m); };
  image.LoadFromBytes(Concat({Header(2, 2, 4, 3), Frame(), kTrailer}));
  EXPECT_EQ(image.BackgroundColor(), 0x030303u);
  image.LoadFromBytes(Concat({Header(2, 2, 4, 9), Frame(), kTrailer}));
  EXPECT_EQ(image.BackgroundColor(), 0u);
  EXPECT_EQ(warnings, std::vector<std::string>{msg::kInvalidColorIndex});
  image.LoadFromBytes(Concat({Header(2, 2, 0), Frame(), kTrailer}));
  EXPECT_THROW(image.BackgroundColor(), GIFException);
}

TEST(GifRead, ColorMapCapacity) {
  const std::pair<int, int> table[] = {{0, 16},  {2, 16},    {16, 16},   {17, 48},  {48, 48},
                                       {49, 80}, {240, 240}, {241, 256}, {256, 256}};
  for (auto [count, capacity] : table)
    EXPECT_EQ(TGIFColorMap::CapacityFor(count), capacity) << count;
  TGIFLocalColorMap map(nullptr);
  map.SetCount(20);
  EXPECT_EQ(map.Capacity(), 48);
  EXPECT_THROW(map.SetCount(257), GIFException);
}

}  // namespace
}  // namespace rf::gif::test
