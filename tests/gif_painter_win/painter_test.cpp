// Multi-frame pictures written by our writer, played by the painter on
// 32-bit memory DCs (and a window), with the GUI thread's part played by
// the test's own message pumping.
#include <windows.h>

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/graphic.h"
#include "framework/thread.h"
#include "framework/thread_sync.h"
#include "gif/anim/rgbacompose.h"
#include "gif/gifimage.h"
#include "gif/model/gifextensions.h"
#include "gif/model/gifsimple.h"
#include "gif/win/gifgraphic_win.h"
#include "gif/win/gifpainter_win.h"
#include "tests/support/dib_surface.h"

namespace rf::gif {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr COLORREF kPaper = RGB(1, 2, 3);

using Surface = rf::test::DibSurface;

const std::vector<TGIFColor> kColors = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {0, 0, 0}};
constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

SimpleFrame Strip(int left, int width, Bytes px, int delay = 2, int disposal = 1,
                  int transparent = -1) {
  SimpleFrame f;
  f.left = left;
  f.width = width;
  f.height = 1;
  f.pixels = std::move(px);
  f.control = SimpleControl{delay, disposal, false, transparent};
  return f;
}

// A 4 × 1 picture; black (index 4) is the background colour.
SimplePicture Picture4(std::vector<SimpleFrame> frames, std::optional<std::uint16_t> loop = {}) {
  SimplePicture pic;
  pic.width = 4;
  pic.height = 1;
  pic.colors = kColors;
  pic.background = 4;
  pic.loop_count = loop;
  pic.frames = std::move(frames);
  return pic;
}

// Three single-colour frames: red, green, blue.
SimplePicture ThreeColours(int delay, std::optional<std::uint16_t> loop = {}) {
  return Picture4({Strip(0, 4, {0, 0, 0, 0}, delay), Strip(0, 4, {1, 1, 1, 1}, delay),
                   Strip(0, 4, {2, 2, 2, 2}, delay)},
                  loop);
}

std::unique_ptr<TGIFGraphic> Load(const Bytes& bytes) {
  auto g = std::make_unique<TGIFGraphic>();
  g->LoadFromBytes(bytes);
  return g;
}

std::unique_ptr<TGIFGraphic> Load(const SimplePicture& pic) {
  return Load(SaveSimplePicture(pic));
}

// The picture with a loop extension put on the given frame instead.
Bytes WithLoopOn(const SimplePicture& pic, std::size_t frame, std::uint16_t count) {
  auto image = BuildSimpleImage(pic);
  TGIFSubImage& f = image->Images()[frame];
  auto loop = std::make_unique<TGIFAppExtNSLoop>(&f);
  loop->SetLoopCount(count);
  f.Extensions().Add(std::move(loop));
  Bytes out;
  image->SaveToStream(out);
  return out;
}

// Takes and dispatches this thread's messages (the painters' calls among
// them) until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = timeGetTime();
  while (!done()) {
    if (timeGetTime() - start > timeout_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

struct Record {
  std::string what;  // S, B, E, R, P
  int frame;
  DWORD time;
  DWORD thread;
};

// Records the five events of a picture's painters.
class EventLog {
 public:
  explicit EventLog(TGIFGraphic& g) {
    auto add = [this](const char* what) {
      return [this, what](TGIFPainter& p) {
        records.push_back({what, p.ActiveImage(), timeGetTime(), GetCurrentThreadId()});
        if (on_event) on_event(what, p);
      };
    };
    g.OnPaintStart = add("S");
    g.OnFrameBegin = add("B");
    g.OnFrameEnd = add("E");
    g.OnPassRepeat = add("R");
    g.OnPaintEnd = add("P");
  }
  std::string Text() const {
    std::string s;
    for (const Record& r : records) {
      s += r.what;
      if (r.what == "B" || r.what == "E") s += std::to_string(r.frame);
      s += ' ';
    }
    if (!s.empty()) s.pop_back();
    return s;
  }
  int Count(const std::string& what) const {
    int n = 0;
    for (const Record& r : records) n += r.what == what;
    return n;
  }
  bool Ended() const { return Count("P") > 0; }
  std::vector<DWORD> Times(const std::string& what) const {
    std::vector<DWORD> t;
    for (const Record& r : records)
      if (r.what == what) t.push_back(r.time);
    return t;
  }

  std::vector<Record> records;
  std::function<void(const char*, TGIFPainter&)> on_event;
};

constexpr std::uint16_t kUnthreadedDirect = poAnimate | poRepeat | poTransparent | poDirectPaint;

class GifPainter : public ::testing::Test {
 protected:
  void TearDown() override {
    // No painter thread, and no synchronisation window, outlives a test.
    EXPECT_TRUE(PumpUntil([] { return fw::Thread::LiveCount() == 0; }, 3000))
        << fw::Thread::LiveCount() << " painter threads left";
    EXPECT_TRUE(PumpUntil([] { return fw::SyncWindow() == nullptr; }, 1000));
  }
};

TEST_F(GifPainter, ThreadedOnePassInOrderOnTheGuiThread) {
  auto g = Load(ThreeColours(3));
  EventLog log(*g);
  Surface s(8, 2);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 8, 2});
  // The drawing call returned with the first frame shown (stretched).
  EXPECT_EQ(s.At(7, 1), kRed);
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000)) << log.Text();
  EXPECT_EQ(log.Text(), "S B0 E0 B1 E1 B2 E2 P");
  for (const Record& r : log.records) EXPECT_EQ(r.thread, GetCurrentThreadId()) << r.what;
  // It stopped on the last frame; later drawing calls copy the buffer.
  g->Draw(canvas, RECT{0, 0, 8, 2});
  EXPECT_EQ(s.At(0, 0), kBlue);
}

TEST_F(GifPainter, LoopCounts) {
  struct Case {
    const char* name;
    std::optional<std::uint16_t> count;  // on frame 1; none: no extension
    const char* events;                  // of the first 17 events
  };
  const Case cases[] = {
      {"no extension", std::nullopt, "S B0 E0 B1 E1 B2 E2 P"},
      {"count 1", 1, "S B0 E0 B1 E1 B2 E2 P"},
      {"count 2: again from frame 1", 2, "S B0 E0 B1 E1 B2 E2 R B1 E1 B2 E2 P"},
      {"count 0: forever", 0, "S B0 E0 B1 E1 B2 E2 R B1 E1 B2 E2 R B1 E1 B2 E2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SimplePicture pic = ThreeColours(3);
    auto g = Load(c.count ? WithLoopOn(pic, 1, *c.count) : SaveSimplePicture(pic));
    EventLog log(*g);
    Surface s(4, 1);
    fw::Canvas canvas(s.dc());
    g->Draw(canvas, RECT{0, 0, 4, 1});
    ASSERT_TRUE(PumpUntil([&] { return log.Ended() || log.records.size() >= 17; }, 5000));
    std::string text = log.Text();
    EXPECT_EQ(text.substr(0, std::string(c.events).size()), c.events);
    if (!c.count || *c.count != 0) {
      PumpFor(100);
      EXPECT_EQ(text, c.events);
    }
    g.reset();  // stops the endless one
  }
}

TEST_F(GifPainter, UnthreadedPlaysOnceInsideTheDrawingCallEvenWithLoopCountZero) {
  auto g = Load(ThreeColours(3, 0));
  g->PaintOptions = kUnthreadedDirect;
  EventLog log(*g);
  std::vector<std::vector<COLORREF>> shown;
  Surface s(4, 1);
  log.on_event = [&](const char* what, TGIFPainter&) {
    if (std::string(what) == "E") shown.push_back(s.Row(0));
  };
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  EXPECT_EQ(log.Text(), "S B0 E0 B1 E1 B2 E2 P");
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0][0], kRed);
  EXPECT_EQ(shown[1][3], kGreen);
  EXPECT_EQ(shown[2][2], kBlue);
  EXPECT_EQ(fw::Thread::LiveCount(), 0);
}

TEST_F(GifPainter, UnthreadedIntoTheBufferLeavesTheLastFrameOnTheDestination) {
  auto g = Load(ThreeColours(3));
  g->PaintOptions = poAnimate | poRepeat;
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  EXPECT_EQ(s.Row(0), (std::vector<COLORREF>{kBlue, kBlue, kBlue, kBlue}));
}

// Frame delays of 10 hundredths: 120 ms at speed 100.
std::vector<double> IntervalsAt(int speed, bool threaded) {
  auto g = Load(Picture4({Strip(0, 4, {0, 0, 0, 0}, 10), Strip(0, 4, {1, 1, 1, 1}, 10),
                          Strip(0, 4, {2, 2, 2, 2}, 10), Strip(0, 4, {3, 3, 3, 3}, 10),
                          Strip(0, 4, {0, 0, 0, 0}, 10)}));
  g->AnimationSpeed = speed;
  g->PaintOptions = threaded ? (kUnthreadedDirect | poThreaded) : kUnthreadedDirect;
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  PumpUntil([&] { return log.Ended(); }, 10000);
  const std::vector<DWORD> begins = log.Times("B");
  std::vector<double> out;
  for (std::size_t i = 1; i < begins.size(); ++i) out.push_back(begins[i] - begins[i - 1]);
  return out;
}

TEST_F(GifPainter, WaitsFollowTheDelaysAtTheSpeed) {
  struct Case {
    int speed;
    bool threaded;
    double expected_ms;
  };
  const Case cases[] = {{100, true, 120}, {200, true, 60}, {200, false, 60}, {50, true, 240}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.speed) + (c.threaded ? " threaded" : " unthreaded"));
    const std::vector<double> intervals = IntervalsAt(c.speed, c.threaded);
    ASSERT_EQ(intervals.size(), 4u);
    double sum = 0;
    for (double ms : intervals) {
      // Never noticeably early; late only by what a busy machine adds.
      EXPECT_GE(ms, c.expected_ms - 20);
      sum += ms;
    }
    const double mean = sum / intervals.size();
    EXPECT_GE(mean, c.expected_ms * 0.85);
    EXPECT_LE(mean, c.expected_ms * 1.6 + 30);
  }
}

TEST_F(GifPainter, SpeedZeroShowsOneFrameAndWaitsUntilStopped) {
  auto g = Load(ThreeColours(1));
  g->AnimationSpeed = 0;
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  PumpFor(300);
  EXPECT_EQ(log.Text(), "S B0 E0");
  EXPECT_EQ(fw::Thread::LiveCount(), 1);
  const DWORD start = timeGetTime();
  g.reset();
  EXPECT_LT(timeGetTime() - start, 500u);
}

TEST_F(GifPainter, NegativeSpeedRunsWithoutWaiting) {
  auto g = Load(ThreeColours(100));  // 1.2 s per frame at speed 100
  g->AnimationSpeed = -1;
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  const DWORD start = timeGetTime();
  g->Draw(canvas, RECT{0, 0, 4, 1});
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000));
  EXPECT_LT(timeGetTime() - start, 1000u);
}

// The destination after each frame, GDI painter against the in-memory
// composition of the same rules.
void ExpectSameAsComposed(const SimplePicture& pic, std::uint16_t options,
                          COLORREF animation_background = kNoColor) {
  auto g = Load(pic);
  g->PaintOptions = options;
  g->AnimationBackground = animation_background;
  g->AnimationSpeed = 1000;
  EventLog log(*g);
  Surface s(pic.width, pic.height);
  std::vector<std::vector<COLORREF>> shown;
  log.on_event = [&](const char* what, TGIFPainter&) {
    if (std::string(what) == "E") shown.push_back(s.Row(0));
  };
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, pic.width, pic.height});
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000));

  auto image = BuildSimpleImage(pic);
  TRGBAPlayOptions rgba;
  rgba.run = {(options & poThreaded) != 0, true, (options & poRepeat) != 0, false};
  rgba.transparent = (options & poTransparent) != 0;
  rgba.clear_on_repeat = (options & poClearOnRepeat) != 0;
  rgba.tile = (options & poTile) != 0;
  const std::uint32_t background = g->AnimationBackground != kNoColor
                                       ? OpaqueFromColorValue(g->AnimationBackground)
                                       : OpaqueFromColorValue(image->BackgroundColor());
  const TRGBAPlayback want =
      PlayToRGBA(*image, TRGBAImage(pic.width, pic.height, 0x010203FF), rgba, background);
  ASSERT_EQ(shown.size(), want.frames.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    for (int x = 0; x < pic.width; ++x) {
      const std::uint32_t v = want.frames[i].At(x, 0);
      EXPECT_EQ(shown[i][static_cast<std::size_t>(x)],
                RGB(v >> 24, (v >> 16) & 255, (v >> 8) & 255))
          << "frame " << i << " x " << x;
    }
  }
}

TEST_F(GifPainter, EachDisposalMethodBeforeTheNextFrame) {
  struct Case {
    int disposal;
    std::vector<COLORREF> next;  // after the frame that follows the disposed one
  };
  const Case cases[] = {
      {0, {kRed, kGreen, kGreen, kBlue}},
      {1, {kRed, kGreen, kGreen, kBlue}},
      {2, {kRed, kBlack, kBlack, kBlue}},
      {3, {kRed, kRed, kRed, kBlue}},
  };
  for (const Case& c : cases) {
    for (bool threaded : {false, true}) {
      SCOPED_TRACE("disposal " + std::to_string(c.disposal) + (threaded ? " threaded" : ""));
      const SimplePicture pic = Picture4(
          {Strip(0, 4, {0, 0, 0, 0}), Strip(1, 2, {1, 1}, 2, c.disposal), Strip(3, 1, {2})});
      auto g = Load(pic);
      g->PaintOptions = poAnimate | poDirectPaint | (threaded ? poThreaded : 0);
      g->AnimationSpeed = 1000;
      EventLog log(*g);
      Surface s(4, 1);
      std::vector<std::vector<COLORREF>> shown;
      log.on_event = [&](const char* what, TGIFPainter&) {
        if (std::string(what) == "E") shown.push_back(s.Row(0));
      };
      fw::Canvas canvas(s.dc());
      g->Draw(canvas, RECT{0, 0, 4, 1});
      ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000));
      ASSERT_EQ(shown.size(), 3u);
      EXPECT_EQ(shown[1], (std::vector<COLORREF>{kRed, kGreen, kGreen, kRed}));
      EXPECT_EQ(shown[2], c.next);
      ExpectSameAsComposed(pic, g->PaintOptions);
    }
  }
}

TEST_F(GifPainter, TransparentFramesRestoreToTheSavedDestination) {
  ExpectSameAsComposed(Picture4({Strip(0, 4, {4, 0, 0, 0}, 2, 1, 4), Strip(0, 2, {3, 3}, 2, 2),
                                 Strip(1, 1, {2}, 2, 3), Strip(3, 1, {1}, 2, 1)}),
                       poAnimate | poTransparent | poDirectPaint);
}

TEST_F(GifPainter, TiledAndWithAnAnimationBackground) {
  // Frames at offsets: tiled, each is repeated from the left edge instead.
  const SimplePicture pic = Picture4({Strip(0, 4, {0, 0, 0, 0}), Strip(1, 2, {1, 3}, 2, 2),
                                      Strip(3, 1, {2}, 2, 3), Strip(2, 1, {1})});
  ExpectSameAsComposed(pic, poAnimate | poDirectPaint | poTile);
  ExpectSameAsComposed(pic, poAnimate | poDirectPaint, RGB(9, 99, 199));
  ExpectSameAsComposed(pic, poAnimate | poDirectPaint | poTile, RGB(9, 99, 199));
}

TEST_F(GifPainter, WithoutAGlobalTableTheBackgroundIsTheWindowColour) {
  SimplePicture pic =
      Picture4({Strip(0, 4, {0, 0, 0, 0}), Strip(0, 2, {1, 1}, 2, 2), Strip(3, 1, {2})});
  pic.colors.clear();
  for (SimpleFrame& f : pic.frames) f.local_colors = kColors;
  auto g = Load(pic);
  g->PaintOptions = poAnimate | poDirectPaint;
  g->AnimationSpeed = 1000;
  EventLog log(*g);
  Surface s(4, 1);
  std::vector<std::vector<COLORREF>> shown;
  log.on_event = [&](const char* what, TGIFPainter&) {
    if (std::string(what) == "E") shown.push_back(s.Row(0));
  };
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  ASSERT_EQ(shown.size(), 3u);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(shown[2], (std::vector<COLORREF>{window, window, kRed, kBlue}));
}

TEST_F(GifPainter, AnEmptyFrameEndsThePass) {
  // Frame 1 holds only a comment: written between two frames by hand.
  const SimplePicture one = Picture4({Strip(0, 4, {0, 0, 0, 0})}, 2);
  const SimplePicture two = Picture4({Strip(0, 4, {0, 0, 0, 0}), Strip(0, 4, {1, 1, 1, 1})}, 2);
  Bytes prefix = SaveSimplePicture(one);
  prefix.pop_back();  // the trailer
  const Bytes whole = SaveSimplePicture(two);
  Bytes bytes = prefix;
  for (int b : {0x21, 0xFE, 0x02, 0x68, 0x69, 0x00, 0x00})
    bytes.push_back(static_cast<std::uint8_t>(b));
  bytes.insert(bytes.end(), whole.begin() + static_cast<std::ptrdiff_t>(prefix.size()),
               whole.end());
  auto g = Load(bytes);
  ASSERT_EQ(g->Image().Images().Count(), 3u);
  ASSERT_TRUE(g->Image().Images()[1].Empty());
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000));
  EXPECT_EQ(log.Text(), "S B0 E0 R B0 E0 P");
}

TEST_F(GifPainter, ClearOnRepeatClearsTheFirstFrameAtEachPass) {
  for (bool clear : {false, true}) {
    SCOPED_TRACE(clear ? "clear on repeat" : "no clearing");
    const SimplePicture pic =
        Picture4({Strip(0, 2, {4, 0}, 2, 1, 4), Strip(0, 4, {1, 1, 1, 1})}, 2);
    const std::uint16_t options =
        poAnimate | poRepeat | poTransparent | poDirectPaint | (clear ? poClearOnRepeat : 0);
    ExpectSameAsComposed(pic, options);
    auto g = Load(pic);
    g->PaintOptions = options;
    g->AnimationSpeed = 1000;
    EventLog log(*g);
    Surface s(4, 1);
    COLORREF below = 0;
    log.on_event = [&](const char* what, TGIFPainter& p) {
      if (std::string(what) == "E" && p.ActiveImage() == 0 && log.Count("R") == 1)
        below = s.At(0, 0);
    };
    fw::Canvas canvas(s.dc());
    g->Draw(canvas, RECT{0, 0, 4, 1});
    EXPECT_EQ(below, clear ? kPaper : kGreen);
  }
}

TEST_F(GifPainter, FreeingThePictureWhileItsPainterWaitsEndsItPromptly) {
  auto g = Load(ThreeColours(100, 0));  // 1.2 s per frame, forever
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  PumpFor(100);
  ASSERT_EQ(log.Text(), "S B0 E0");
  ASSERT_EQ(fw::Thread::LiveCount(), 1);
  TGIFPaintState& state = g->ImageDrawing().paint;
  ASSERT_EQ(state.Painters().size(), 1u);
  const DWORD start = timeGetTime();
  g.reset();
  EXPECT_LT(timeGetTime() - start, 300u);
  // Its events are not called once the picture is gone.
  EXPECT_EQ(log.Text(), "S B0 E0");
}

TEST_F(GifPainter, ClearingThePictureStopsItsPainters) {
  auto g = Load(ThreeColours(100, 0));
  g->PaintOptions |= poDirectPaint;
  Surface a(4, 1), b(4, 1);
  fw::Canvas ca(a.dc()), cb(b.dc());
  g->Draw(ca, RECT{0, 0, 4, 1});
  g->Draw(cb, RECT{0, 0, 4, 1});
  PumpFor(50);
  EXPECT_EQ(g->ImageDrawing().paint.Painters().size(), 1u) << "another target stops the first";
  g->LoadFromBytes(SaveSimplePicture(ThreeColours(2)));
  EXPECT_TRUE(g->ImageDrawing().paint.Painters().empty());
}

TEST_F(GifPainter, SameCanvasAndRectangleKeepsTheRunningPainter) {
  auto g = Load(ThreeColours(100, 0));
  g->PaintOptions |= poDirectPaint;
  EventLog log(*g);
  Surface s(8, 2);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  g->Draw(canvas, RECT{0, 0, 4, 1});
  PumpFor(50);
  EXPECT_EQ(log.Count("S"), 1);
  g->Draw(canvas, RECT{0, 0, 8, 2});
  PumpFor(50);
  EXPECT_EQ(log.Text(), "S B0 E0 P S B0 E0");
}

TEST_F(GifPainter, APainterWhoseDeviceContextWentAwayEndsItself) {
  auto g = Load(ThreeColours(2, 0));
  g->PaintOptions = poThreaded | poAnimate | poRepeat | poDirectPaint | poCheckCanvasHandle;
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  ASSERT_TRUE(PumpUntil([&] { return log.Count("E") >= 1; }, 2000));
  s.DeleteDCNow();
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 2000)) << log.Text();
}

TEST_F(GifPainter, BufferedPainterAnnouncesEachFrame) {
  auto g = Load(ThreeColours(2));
  int changes = 0;
  g->OnChange = [&] { ++changes; };
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000));
  EXPECT_EQ(changes, 3);
}

TEST_F(GifPainter, AQuitMessageEndsAnUnthreadedRunAndStaysQueued) {
  auto g = Load(ThreeColours(50));
  g->PaintOptions = kUnthreadedDirect;
  EventLog log(*g);
  log.on_event = [](const char* what, TGIFPainter& p) {
    if (std::string(what) == "E" && p.ActiveImage() == 0) PostQuitMessage(7);
  };
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  EXPECT_EQ(log.Text(), "S B0 E0 P");
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(GifPainter, SingleFramePicturesStartNoPainter) {
  auto g = Load(Picture4({Strip(0, 4, {2, 2, 2, 2})}, 0));
  EventLog log(*g);
  Surface s(4, 1);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 4, 1});
  EXPECT_EQ(s.At(0, 0), kBlue);
  EXPECT_TRUE(log.records.empty());
  EXPECT_EQ(fw::Thread::LiveCount(), 0);
}

// A window whose paint handler draws the picture, as the picture controls
// do; the painter's frames reach it through the change notification.
LRESULT CALLBACK ShowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    auto* g = reinterpret_cast<TGIFGraphic*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (g != nullptr) {
      fw::Canvas canvas(dc);
      g->Draw(canvas, RECT{0, 0, 40, 10});
    }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST_F(GifPainter, AWindowShowsTheAnimation) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ShowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PainterTestWindow";
  RegisterClassA(&wc);
  HWND wnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 10, nullptr,
                             nullptr, wc.hInstance, nullptr);
  ASSERT_NE(wnd, nullptr);
  auto g = Load(ThreeColours(3));
  g->OnChange = [wnd] { InvalidateRect(wnd, nullptr, FALSE); };
  EventLog log(*g);
  SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(g.get()));
  UpdateWindow(wnd);
  ASSERT_TRUE(PumpUntil([&] { return log.Ended(); }, 5000));
  PumpFor(50);
  EXPECT_EQ(log.Text(), "S B0 E0 B1 E1 B2 E2 P");
  SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  DestroyWindow(wnd);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

}  // namespace
}  // namespace rf::gif
