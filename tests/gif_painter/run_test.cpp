// The course of a run: which frames are shown in which order, which events
// come when, the loop count and where a repeated pass starts, and the
// delay handed to each wait. A scripted driver stands in for the picture.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gif/anim/animationrun.h"

namespace rf::gif {
namespace {

class ScriptedDriver : public TAnimationDriver {
 public:
  std::vector<TFrameStep> frames;
  int stop_after_draws = 1000;  // a stand-in for being stopped
  std::string
      log;  // "S" start, "B2" begin, "D2" draw, "E2" end, "R" repeat, "P" end of run, "W10" wait
  std::vector<std::pair<int, int>> disposals;  // (current, previous) per draw
  std::function<void(TPaintEvent)> on_event;
  TAnimationRun* run = nullptr;
  int draws = 0;

  bool Terminated() const override { return draws >= stop_after_draws; }
  bool PrepareFrame(int index, TFrameStep& step) override {
    if (index >= static_cast<int>(frames.size())) return false;
    step = frames[static_cast<std::size_t>(index)];
    return true;
  }
  void StartClock() override {}
  void Wait(int units) override { log += "W" + std::to_string(units) + " "; }
  void Event(TPaintEvent event) override {
    const int active = run ? run->ActiveFrame() : 0;
    switch (event) {
      case TPaintEvent::PaintStart:
        log += "S ";
        break;
      case TPaintEvent::FrameBegin:
        log += "B" + std::to_string(active) + " ";
        break;
      case TPaintEvent::FrameEnd:
        log += "E" + std::to_string(active) + " ";
        break;
      case TPaintEvent::PassRepeat:
        log += "R ";
        break;
      case TPaintEvent::PaintEnd:
        log += "P" + std::to_string(active);
        break;
    }
    if (on_event) on_event(event);
  }
  bool DrawFrame(int index, int disposal, int previous) override {
    ++draws;
    disposals.emplace_back(disposal, previous);
    log += "D" + std::to_string(index) + " ";
    return true;
  }
};

TFrameStep Frame(int delay = 5, int disposal = 1) {
  TFrameStep s;
  s.has_control = true;
  s.delay = delay;
  s.disposal = disposal;
  return s;
}

TFrameStep LoopFrame(std::uint16_t count, int delay = 5) {
  TFrameStep s = Frame(delay);
  s.has_loop = true;
  s.loop_count = count;
  return s;
}

std::string Play(ScriptedDriver& d, TRunOptions options) {
  TAnimationRun run(d, options);
  d.run = &run;
  run.Run();
  EXPECT_EQ(run.ActiveFrame(), -1);
  return d.log;
}

constexpr TRunOptions kThreaded{true, true, true, false};
constexpr TRunOptions kUnthreaded{false, true, true, false};

TEST(AnimationRun, OnePassWithoutLoopExtensionStopsOnTheLastFrame) {
  ScriptedDriver d;
  d.frames = {Frame(5), Frame(7), Frame(0)};
  // Threaded: the first frame at once, then each wait is the delay of the
  // frame shown last.
  EXPECT_EQ(Play(d, kThreaded), "S B0 D0 E0 W5 B1 D1 E1 W7 B2 D2 E2 P-1");
}

TEST(AnimationRun, UnthreadedRunWaitsOneUnitBeforeItsFirstFrame) {
  ScriptedDriver d;
  d.frames = {Frame(5), Frame(7)};
  EXPECT_EQ(Play(d, kUnthreaded), "S W1 B0 D0 E0 W5 B1 D1 E1 P-1");
}

TEST(AnimationRun, LoopCountGivesPassesAndRepeatStartsAtTheExtensionsFrame) {
  ScriptedDriver d;
  d.frames = {Frame(4), LoopFrame(2, 6), Frame(8)};
  EXPECT_EQ(Play(d, kThreaded),
            "S B0 D0 E0 W4 B1 D1 E1 W6 B2 D2 E2 "
            "R W8 B1 D1 E1 W6 B2 D2 E2 P-1");
}

TEST(AnimationRun, LoopCountsByOptions) {
  struct Case {
    const char* name;
    std::uint16_t loop;
    TRunOptions options;
    int passes;  // -1: endless (stopped by the driver)
  };
  const Case cases[] = {
      {"count 1", 1, kThreaded, 1},
      {"count 3", 3, kThreaded, 3},
      {"count 0 threaded loops forever", 0, kThreaded, -1},
      {"count 0 inside the drawing call plays once", 0, kUnthreaded, 1},
      {"count 2 inside the drawing call", 2, kUnthreaded, 2},
      {"repeat forever threaded", 2, {true, true, true, true}, -1},
      {"repeat forever unthreaded ignores the count", 2, {false, true, true, true}, -1},
      {"no poRepeat: one pass", 5, {true, true, false, false}, 1},
      {"no poRepeat, count 0: one pass", 0, {true, true, false, false}, 1},
  };
  for (const Case& c : cases) {
    ScriptedDriver d;
    d.frames = {LoopFrame(c.loop), Frame()};
    d.stop_after_draws = 40;
    Play(d, c.options);
    const int expected_draws = c.passes < 0 ? 40 : 2 * c.passes;
    EXPECT_EQ(d.draws, expected_draws) << c.name;
  }
}

TEST(AnimationRun, OnlyTheFirstLoopExtensionOfARunCounts) {
  ScriptedDriver d;
  d.frames = {LoopFrame(2), LoopFrame(5)};
  Play(d, kThreaded);
  EXPECT_EQ(d.draws, 4);
}

TEST(AnimationRun, WithoutAnimateOnlyTheFirstFrameIsShown) {
  ScriptedDriver d;
  d.frames = {Frame(), Frame()};
  EXPECT_EQ(Play(d, {false, false, true, false}), "S W1 B0 D0 E0 P-1");
}

TEST(AnimationRun, AnEmptyFrameEndsThePass) {
  ScriptedDriver d;
  TFrameStep empty = Frame();
  empty.empty = true;
  d.frames = {LoopFrame(2, 3), Frame(4), empty, Frame()};
  EXPECT_EQ(Play(d, kThreaded), "S B0 D0 E0 W3 B1 D1 E1 R W4 B0 D0 E0 W3 B1 D1 E1 P-1");
}

TEST(AnimationRun, APassThatShowsNothingEndsTheRun) {
  // Repeating forever over an empty first frame would never wait.
  ScriptedDriver d;
  TFrameStep empty = Frame();
  empty.empty = true;
  d.frames = {empty, Frame()};
  EXPECT_EQ(Play(d, {true, true, true, true}), "S P-1");
}

TEST(AnimationRun, DisposalOfTheFrameBeforeIsHandedOn) {
  ScriptedDriver d;
  TFrameStep none;  // no graphic control extension: method 1, 10 units
  d.frames = {Frame(5, 2), Frame(5, 3), none, LoopFrame(0)};
  d.stop_after_draws = 5;
  Play(d, kThreaded);
  const std::vector<std::pair<int, int>> expected = {{2, 1}, {3, 2}, {1, 3}, {1, 1}, {1, 1}};
  EXPECT_EQ(d.disposals, expected);
  EXPECT_NE(d.log.find("D2 E2 W10 B3"), std::string::npos) << d.log;
}

TEST(AnimationRun, FrameEndMayMoveTheActiveFrame) {
  ScriptedDriver d;
  d.frames = {Frame(), Frame(), Frame(), Frame()};
  TAnimationRun run(d, kThreaded);
  d.run = &run;
  bool jumped = false;
  d.on_event = [&](TPaintEvent e) {
    if (e == TPaintEvent::FrameEnd && run.ActiveFrame() == 0 && !jumped) {
      jumped = true;
      run.SetActiveFrame(2);
    }
  };
  run.Run();
  EXPECT_EQ(d.log, "S B0 D0 E0 W5 B2 D2 E2 W5 B3 D3 E3 P-1");
}

TEST(AnimationRun, StoppingEndsTheRunAtOnce) {
  ScriptedDriver d;
  d.frames = {LoopFrame(0), Frame()};
  d.stop_after_draws = 3;
  EXPECT_EQ(Play(d, kThreaded), "S B0 D0 E0 W5 B1 D1 E1 R W5 B0 D0 E0 P-1");
}

}  // namespace
}  // namespace rf::gif
