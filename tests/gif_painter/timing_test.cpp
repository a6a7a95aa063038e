// Frame delays and the waits between frames.
#include <gtest/gtest.h>

#include "gif/anim/animationtiming.h"

namespace rf::gif {
namespace {

TEST(FrameDelay, RulesForMissingShortAndLongDelays) {
  struct Case {
    bool has_control;
    int delay;
    bool threaded;
    int units;
  };
  const Case cases[] = {
      {false, 0, true, 10},      {false, 50, true, 10},  // no extension: its delay is unused
      {true, 0, true, 10},       {true, 1, true, 3},        {true, 2, false, 3},
      {true, 3, true, 3},        {true, 50, true, 50},      {true, 5000, true, 5000},
      {true, 5000, false, 1000}, {true, 1000, false, 1000}, {true, 65535, false, 1000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FrameDelayUnits(c.has_control, c.delay, c.threaded), c.units)
        << c.has_control << " " << c.delay << " " << c.threaded;
  }
}

TEST(AnimationClock, TwelveMillisecondsPerHundredthScaledBySpeed) {
  struct Case {
    int units;
    int speed;
    std::int64_t ms;
  };
  const Case cases[] = {{10, 100, 120}, {3, 100, 36}, {10, 200, 60},
                        {10, 50, 240},  {1, 300, 4},  {65535, 1, 78642000}};
  for (const Case& c : cases) {
    TAnimationClock clock(1000);
    // Exactly on time: no overshoot.
    EXPECT_EQ(clock.Next(c.units, c.speed, true, 1000), (TWait{TWaitKind::Timed, c.ms}))
        << c.units << " at " << c.speed;
  }
}

TEST(AnimationClock, HalfTheOvershootIsTakenOffTheNextWait) {
  TAnimationClock clock(0);
  // Rendering took 20 ms since the run began: 10 ms less wait.
  EXPECT_EQ(clock.Next(10, 100, true, 20).ms, 110);
  EXPECT_EQ(clock.PreviousTime(), 20u);
  EXPECT_EQ(clock.PreviousWait(), 110);
  // That wait should have ended at 130; now is 150: 20 ms late.
  EXPECT_EQ(clock.Next(10, 100, true, 150).ms, 110);
  // Early (woken before it was due): the wait grows.
  EXPECT_EQ(clock.Next(10, 100, true, 240).ms, 130);
  // At speed 200 the correction is halved along with the wait.
  TAnimationClock fast(0);
  EXPECT_EQ(fast.Next(10, 200, true, 20).ms, 55);
}

TEST(AnimationClock, OvershootBeyondTheDelayGivesANonPositiveWait) {
  TAnimationClock clock(0);
  const TWait wait = clock.Next(3, 100, true, 200);  // 36 - 100
  EXPECT_EQ(wait.kind, TWaitKind::Timed);
  EXPECT_EQ(wait.ms, -64);
}

TEST(AnimationClock, TimerWrapAroundCountsAsAShortDistance) {
  TAnimationClock clock(0xFFFFFFF0u);
  EXPECT_EQ(clock.Next(10, 100, true, 0x00000004u).ms, 120 - 10);
}

TEST(AnimationClock, SpeedBelowOne) {
  TAnimationClock clock(0);
  EXPECT_EQ(clock.Next(10, 0, true, 5), (TWait{TWaitKind::Forever, 0}));
  EXPECT_EQ(clock.Next(10, -5, true, 5), (TWait{TWaitKind::None, 0}));
  // Inside the drawing call there is no one to wake it: 1000 units.
  EXPECT_EQ(clock.Next(10, 0, false, 5), (TWait{TWaitKind::Timed, 12000}));
  EXPECT_EQ(clock.Next(10, -1, false, 5), (TWait{TWaitKind::Timed, 12000}));
}

TEST(AnimationClock, WokenRestartsTheCount) {
  TAnimationClock clock(0);
  clock.Next(100, 100, true, 0);  // 1200 ms due at 1200
  clock.Woken(300);
  EXPECT_EQ(clock.PreviousWait(), 0);
  EXPECT_EQ(clock.Next(10, 100, true, 300).ms, 120);
}

TEST(AnimationClock, ArithmeticBeyondRangeFallsBackToAThousandUnits) {
  TAnimationClock clock(0);
  // An overshoot near -2^31 (a due time far ahead) makes the wait overflow.
  clock.Next(10, 1, true, 0);
  const TWait wait = clock.Next(65535, 1, true, 0x80000000u);
  EXPECT_EQ(wait.ms, 12000);
  EXPECT_EQ(clock.PreviousWait(), 0);
}

}  // namespace
}  // namespace rf::gif
