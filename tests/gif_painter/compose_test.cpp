// Disposal: where each frame is drawn and what happens to the work buffer,
// the placement arithmetic, and whole animations composed in memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gif/anim/animationcompose.h"
#include "gif/anim/rgbacompose.h"
#include "gif/gifimage.h"
#include "gif/model/gifsimple.h"

namespace rf::gif {
namespace {

TEST(PlanDisposal, TargetsByMethodAndPreviousMethod) {
  using T = TComposeTarget;
  struct Case {
    int d, p;
    TDisposalPlan plan;
  };
  const Case cases[] = {
      {0, 1, {T::Work, false, false}},
      {1, 2, {T::Work, false, false}},
      {2, 1, {T::Work, false, true}},
      {2, 3, {T::Work, false, true}},
      {3, 0, {T::Destination, false, false}},
      {3, 1, {T::Destination, false, false}},
      {3, 2, {T::Previous, true, false}},
      {3, 3, {T::Previous, true, false}},
      // Undefined methods are left in place, as a frame without a method.
      {3, 4, {T::Destination, false, false}},
      {3, 7, {T::Destination, false, false}},
      {4, 1, {T::Work, false, false}},
      {7, 2, {T::Work, false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlanDisposal(c.d, c.p), c.plan) << c.d << "," << c.p;
}

class RecordingSurfaces : public TComposeSurfaces {
 public:
  bool work = true;
  std::string log;
  bool HasWorkBuffer() const override { return work; }
  void DrawFrame(TComposeTarget target, int frame) override {
    log += std::string("draw") + Name(target) + std::to_string(frame) + " ";
  }
  void Present(TComposeTarget from) override { log += std::string("show") + Name(from) + " "; }
  void CopyWorkToPrevious() override { log += "save "; }
  void RestoreBackground(int frame) override { log += "clear" + std::to_string(frame) + " "; }

 private:
  static const char* Name(TComposeTarget t) {
    return t == TComposeTarget::Work ? "W" : t == TComposeTarget::Previous ? "P" : "D";
  }
};

TEST(ComposeFrame, StepsInOrder) {
  struct Case {
    bool work;
    int d, p;
    bool clear_first;
    const char* log;
  };
  const Case cases[] = {
      {false, 2, 1, false, "drawD5 "},
      {true, 1, 1, false, "drawW5 showW "},
      {true, 2, 1, false, "drawW5 showW clear5 "},
      {true, 3, 1, false, "drawD5 "},
      {true, 3, 2, false, "save drawP5 showP "},
      {true, 1, 1, true, "clear5 drawW5 showW "},
      {true, 5, 3, false, "drawW5 showW "},
  };
  for (const Case& c : cases) {
    RecordingSurfaces s;
    s.work = c.work;
    ComposeFrame(s, 5, c.d, c.p, c.clear_first);
    EXPECT_EQ(s.log, c.log) << c.d << "," << c.p;
  }
}

TEST(Placement, FramesMapProportionallyWithRounding) {
  EXPECT_EQ(PlaceFrame({0, 0, 40, 40}, 20, 20, 10, 10, 10, 10), (TGIFRect{20, 20, 40, 40}));
  EXPECT_EQ(PlaceFrame({5, 7, 25, 27}, 20, 20, 0, 0, 20, 20), (TGIFRect{5, 7, 25, 27}));
  // 1 × 10 / 3 = 3.33 -> 3; 2 × 10 / 3 = 6.67 -> 7
  EXPECT_EQ(PlaceFrame({0, 0, 10, 10}, 3, 3, 1, 1, 1, 1), (TGIFRect{3, 3, 7, 7}));
  // A screen of no size counts as the frame's extent.
  EXPECT_EQ(PlaceFrame({0, 0, 8, 8}, 0, 0, 2, 2, 2, 2), (TGIFRect{4, 4, 8, 8}));
  EXPECT_EQ(MulDivRound(5, 1, 2), 3);
  EXPECT_EQ(MulDivRound(-5, 1, 2), -3);
  EXPECT_EQ(MulDivRound(7, 3, 0), 7);
  // Negative divisors and halves of either sign, as MulDiv rounds them.
  EXPECT_EQ(MulDivRound(5, 1, -2), -3);
  EXPECT_EQ(MulDivRound(-5, -1, -2), -3);
  EXPECT_EQ(MulDivRound(3, 1, 4), 1);
  EXPECT_EQ(MulDivRound(-3, 1, 4), -1);
  // A result beyond 32 bits answers -1, as MulDiv does; still frames were
  // placed by MulDiv before the two paths shared this code.
  EXPECT_EQ(MulDivRound(65535, 100000, 1), -1);
  EXPECT_EQ(MulDivRound(-65535, 100000, 1), -1);
  EXPECT_EQ(MulDivRound(65535, 32768, 1), 2147450880);
}

TEST(Placement, TilesCoverTheRectangleAndAreCutAtItsEdge) {
  const auto tiles = TileRects({1, 1, 6, 4}, 2, 2);
  const std::vector<TGIFRect> expected = {{1, 1, 3, 3}, {3, 1, 5, 3}, {5, 1, 6, 3},
                                          {1, 3, 3, 4}, {3, 3, 5, 4}, {5, 3, 6, 4}};
  EXPECT_EQ(tiles, expected);
  EXPECT_TRUE(TileRects({0, 0, 4, 4}, 0, 2).empty());
}

// A 4 × 1 screen: red, green, blue, white in the global table, black as
// background index 4.
const std::vector<TGIFColor> kColors = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}};
constexpr std::uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF,
                        kWhite = 0xFFFFFFFF, kBlack = 0x000000FF;
constexpr std::uint32_t kPaper = 0x10203040;  // what the destination held

SimpleFrame Pixels(int left, int width, std::vector<std::uint8_t> px, int disposal,
                   int transparent = -1) {
  SimpleFrame f;
  f.left = left;
  f.width = width;
  f.height = 1;
  f.pixels = std::move(px);
  f.control = SimpleControl{5, disposal, false, transparent};
  return f;
}

std::vector<std::uint32_t> Row(const TRGBAImage& img) {
  std::vector<std::uint32_t> out;
  for (int x = 0; x < img.width; ++x) out.push_back(img.At(x, 0));
  return out;
}

TRGBAPlayback PlayOnce(const std::vector<SimpleFrame>& frames, bool transparent = true) {
  SimplePicture pic;
  pic.width = 4;
  pic.height = 1;
  pic.colors = kColors;
  pic.background = 4;
  pic.frames = frames;
  auto image = BuildSimpleImage(pic);
  TRGBAPlayOptions options;
  options.transparent = transparent;
  return PlayToRGBA(*image, TRGBAImage(4, 1, kPaper), options, kBlack);
}

TEST(RGBAComposition, EachDisposalMethodsEffectBeforeTheNextFrame) {
  const SimpleFrame base = Pixels(0, 4, {0, 0, 0, 0}, 1);
  struct Case {
    const char* name;
    int disposal;
    std::vector<std::uint32_t> shown;  // after the second frame
    std::vector<std::uint32_t> next;   // after a third frame drawn at x = 3 only
  };
  const Case cases[] = {
      {"0: none", 0, {kRed, kGreen, kGreen, kRed}, {kRed, kGreen, kGreen, kBlue}},
      {"1: keep", 1, {kRed, kGreen, kGreen, kRed}, {kRed, kGreen, kGreen, kBlue}},
      {"2: background", 2, {kRed, kGreen, kGreen, kRed}, {kRed, kBlack, kBlack, kBlue}},
      {"3: previous", 3, {kRed, kGreen, kGreen, kRed}, {kRed, kRed, kRed, kBlue}},
      {"5: undefined, kept", 5, {kRed, kGreen, kGreen, kRed}, {kRed, kGreen, kGreen, kBlue}},
  };
  for (const Case& c : cases) {
    const auto out = PlayOnce({base, Pixels(1, 2, {1, 1}, c.disposal), Pixels(3, 1, {2}, 1)},
                              /*transparent=*/false);
    ASSERT_EQ(out.frames.size(), 3u) << c.name;
    EXPECT_EQ(Row(out.frames[1]), c.shown) << c.name;
    EXPECT_EQ(Row(out.frames[2]), c.next) << c.name;
  }
}

TEST(RGBAComposition, TransparentRestoreBringsBackWhatTheDestinationHeld) {
  // The first frame leaves x = 0 transparent; the second is disposed to
  // the background, which with transparency is the saved destination.
  const auto out =
      PlayOnce({Pixels(0, 4, {4, 0, 0, 0}, 1, 4), Pixels(0, 2, {3, 3}, 2), Pixels(3, 1, {2}, 1)});
  ASSERT_EQ(out.frames.size(), 3u);
  EXPECT_EQ(Row(out.frames[0]), (std::vector<std::uint32_t>{kPaper, kRed, kRed, kRed}));
  EXPECT_EQ(Row(out.frames[1]), (std::vector<std::uint32_t>{kWhite, kWhite, kRed, kRed}));
  EXPECT_EQ(Row(out.frames[2]), (std::vector<std::uint32_t>{kPaper, kPaper, kRed, kBlue}));
}

TEST(RGBAComposition, RestorePreviousAfterADisposedFrameStartsFromTheCleanedPicture) {
  const auto out = PlayOnce({Pixels(0, 4, {0, 0, 0, 0}, 1), Pixels(0, 1, {1}, 2),
                             Pixels(1, 1, {2}, 3), Pixels(3, 1, {3}, 1)},
                            false);
  ASSERT_EQ(out.frames.size(), 4u);
  // Frame 2 shows on the picture with frame 1 already cleared.
  EXPECT_EQ(Row(out.frames[2]), (std::vector<std::uint32_t>{kBlack, kBlue, kRed, kRed}));
  EXPECT_EQ(Row(out.frames[3]), (std::vector<std::uint32_t>{kBlack, kRed, kRed, kWhite}));
}

TEST(RGBAComposition, ClearOnRepeatClearsTheFirstFramesAreaEachPass) {
  SimplePicture pic;
  pic.width = 4;
  pic.height = 1;
  pic.colors = kColors;
  pic.background = 4;
  pic.loop_count = 2;
  pic.frames = {Pixels(0, 2, {4, 0}, 1, 4), Pixels(0, 4, {1, 1, 1, 1}, 1)};
  auto image = BuildSimpleImage(pic);
  for (bool clear : {false, true}) {
    TRGBAPlayOptions options;
    options.clear_on_repeat = clear;
    const auto out = PlayToRGBA(*image, TRGBAImage(4, 1, kPaper), options, kBlack);
    ASSERT_EQ(out.frames.size(), 4u);
    // Second pass, first frame: its transparent pixel shows what lies below,
    // which clearing restored to the saved destination.
    const std::uint32_t below = clear ? kPaper : kGreen;
    EXPECT_EQ(Row(out.frames[2]), (std::vector<std::uint32_t>{below, kRed, kGreen, kGreen}))
        << clear;
  }
}

TEST(RGBAComposition, IndexesBeyondTheTableAreBlackAndTilingRepeatsTheFrame) {
  SimplePicture pic;
  pic.width = 2;
  pic.height = 1;
  pic.colors = {{255, 0, 0}, {0, 255, 0}};
  SimpleFrame f;
  f.width = 2;
  f.height = 1;
  f.pixels = {1, 0};
  pic.frames = {f, f};
  auto image = BuildSimpleImage(pic);
  TRGBAPlayOptions options;
  options.tile = true;
  const auto out = PlayToRGBA(*image, TRGBAImage(5, 1, kPaper), options, kBlack);
  ASSERT_FALSE(out.frames.empty());
  EXPECT_EQ(Row(out.frames[0]), (std::vector<std::uint32_t>{kGreen, kRed, kGreen, kRed, kGreen}));
}

}  // namespace
}  // namespace rf::gif
