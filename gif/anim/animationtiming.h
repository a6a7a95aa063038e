// How long an animation waits before each frame: the frame delays of the
// graphic control extensions turned into milliseconds at the picture's
// speed, with half of the previous wait's overshoot taken off the next one.
#pragma once

#include <cstdint>

namespace rf::gif {

// One hundredth of a second of GIF delay lasts 12 ms at speed 100.
inline constexpr int kMsPerDelayUnit = 12;
// Delay of a frame without a graphic control extension, or with delay 0.
inline constexpr int kDefaultDelayUnits = 10;
// Shorter delays are raised to this: browsers of the time did the same.
inline constexpr int kMinDelayUnits = 3;
// A painter that runs inside the drawing call never waits longer per frame.
inline constexpr int kMaxUnthreadedDelayUnits = 1000;
// The wait when the speed is below 1 (unthreaded) or the arithmetic fails.
inline constexpr int kFallbackDelayUnits = 1000;

// The delay of a frame in hundredths, by the rules above.
int FrameDelayUnits(bool has_control, int delay, bool threaded);

enum class TWaitKind {
  None,     // go on at once
  Forever,  // until woken (speed 0, threaded)
  Timed,    // `ms` milliseconds; may be 0 or negative after an overshoot
};

struct TWait {
  TWaitKind kind = TWaitKind::None;
  std::int64_t ms = 0;
  friend bool operator==(const TWait&, const TWait&) = default;
};

// The waits of one run. Times are milliseconds of a clock that wraps at
// 2^32 (the multimedia timer); differences are taken modulo that.
class TAnimationClock {
 public:
  explicit TAnimationClock(std::uint32_t start) : previous_time_(start) {}

  // The wait before the next frame, `units` being the delay of the frame
  // shown last. Remembers now and the wait for the next overshoot.
  TWait Next(int units, int speed, bool threaded, std::uint32_t now);
  // The wake-up event ended a wait early: the next wait counts from now.
  void Woken(std::uint32_t now) {
    previous_time_ = now;
    previous_wait_ = 0;
  }

  std::uint32_t PreviousTime() const { return previous_time_; }
  std::int64_t PreviousWait() const { return previous_wait_; }

 private:
  std::uint32_t previous_time_;
  std::int64_t previous_wait_ = 0;
};

}  // namespace rf::gif
