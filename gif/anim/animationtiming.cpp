#include "gif/anim/animationtiming.h"

#include <cmath>
#include <limits>

namespace rf::gif {

int FrameDelayUnits(bool has_control, int delay, bool threaded) {
  int units = (!has_control || delay == 0) ? kDefaultDelayUnits : delay;
  if (units < kMinDelayUnits) units = kMinDelayUnits;
  if (!threaded && units > kMaxUnthreadedDelayUnits) units = kMaxUnthreadedDelayUnits;
  return units;
}

TWait TAnimationClock::Next(int units, int speed, bool threaded, std::uint32_t now) {
  if (speed < 1) {
    if (threaded) return speed == 0 ? TWait{TWaitKind::Forever, 0} : TWait{TWaitKind::None, 0};
    const std::int64_t wait = std::int64_t{kFallbackDelayUnits} * kMsPerDelayUnit;
    previous_time_ = now;
    previous_wait_ = wait;
    return {TWaitKind::Timed, wait};
  }
  // Signed distance from when the previous wait should have ended.
  const auto due = static_cast<std::uint32_t>(previous_time_ + previous_wait_);
  const auto overshoot = static_cast<std::int32_t>(now - due);
  const double exact =
      (static_cast<double>(units) * kMsPerDelayUnit - overshoot / 2.0) * 100.0 / speed;
  // Round half to even, as the rest of the codec rounds.
  const double rounded = std::nearbyint(exact);
  std::int64_t wait;
  if (!std::isfinite(rounded) || rounded > std::numeric_limits<std::int32_t>::max() ||
      rounded < std::numeric_limits<std::int32_t>::min()) {
    wait = std::int64_t{kFallbackDelayUnits} * kMsPerDelayUnit;
    previous_time_ = now;
    previous_wait_ = 0;
    return {TWaitKind::Timed, wait};
  }
  wait = static_cast<std::int64_t>(rounded);
  previous_time_ = now;
  previous_wait_ = wait;
  return {TWaitKind::Timed, wait};
}

}  // namespace rf::gif
