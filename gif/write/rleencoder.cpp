#include "gif/write/rleencoder.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace rf::gif {

namespace {

// The end of the run of v that begins at p: eight pixels at a time while
// they all match.
const std::uint8_t* RunEnd(const std::uint8_t* p, const std::uint8_t* end, std::uint8_t v) {
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint64_t pattern = 0x0101010101010101ull * v;
    while (end - p >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p, 8);
      const std::uint64_t diff = word ^ pattern;
      if (diff != 0) return p + (std::countr_zero(diff) >> 3);
      p += 8;
    }
  }
  while (p != end && *p == v) ++p;
  return p;
}

// Smallest k with k(k+1)/2 >= m, for the short runs that are most of the
// work; longer ones take the square root.
constexpr int kSmallRuns = 1024;
struct SmallTriangles {
  std::uint8_t codes[kSmallRuns] = {};
  constexpr SmallTriangles() {
    int k = 0;
    for (int m = 1; m < kSmallRuns; ++m) {
      while (k * (k + 1) / 2 < m) ++k;
      codes[m] = static_cast<std::uint8_t>(k);
    }
  }
};
constexpr SmallTriangles kSmallTriangles;

}  // namespace

void TRLEEncoder::Clear() {
  Output(clear_code_);
  code_size_ = initial_code_size_;
  bump_ = initial_bump_;
  clear_count_ = initial_clear_count_;
  codes_sent_ = 0;
  table_length_ = 0;
  just_cleared_ = true;
}

void TRLEEncoder::OutputPlain(unsigned code) {
  just_cleared_ = false;
  Output(code);
  ++codes_sent_;
  // The decoder adds one entry per code after the first; follow its code size.
  if (codes_sent_ >= bump_) {
    bump_ += Count{1} << code_size_;
    ++code_size_;
  }
  if (codes_sent_ >= clear_count_) Clear();
}

TRLEEncoder::Count TRLEEncoder::Triangle(Count count) const {
  const Count per_full = run_codes_ * (run_codes_ + 1) / 2;
  Count cost = 0;
  if (count >= per_full) {
    cost += (count / per_full) * run_codes_;
    count %= per_full;
  }
  if (count > 0 && count < kSmallRuns) {
    cost += kSmallTriangles.codes[count];
  } else if (count > 0) {
    auto k = static_cast<Count>(std::sqrt(static_cast<double>(2 * count)));
    while (k > 0 && k * (k + 1) >= 2 * count) --k;
    while (k * (k + 1) < 2 * count) ++k;
    cost += k;
  }
  return cost;
}

void TRLEEncoder::ResetClearCount() {
  clear_count_ = initial_clear_count_;
  if (codes_sent_ >= clear_count_) Clear();
}

void TRLEEncoder::FlushFromClear(Count count) {
  clear_count_ = run_codes_;
  table_pixel_ = run_pixel_;
  Count k = 1;
  while (count > 0) {
    if (k == 1) {
      table_length_ = 1;
      OutputPlain(run_pixel_);
      count -= 1;
    } else if (count >= k) {
      table_length_ = k;
      OutputPlain(first_free_code_ + static_cast<unsigned>(k) - 2);
      count -= k;
    } else {
      ++table_length_;
      if (count == 1) {
        OutputPlain(run_pixel_);
      } else {
        OutputPlain(first_free_code_ + static_cast<unsigned>(count) - 2);
      }
      count = 0;
    }
    k = codes_sent_ == 0 ? 1 : k + 1;
  }
  ResetClearCount();
}

void TRLEEncoder::FlushClearOrRepeat(Count count) {
  if (1 + Triangle(count) < count) {
    Clear();
    FlushFromClear(count);
  } else {
    for (; count > 0; --count) OutputPlain(run_pixel_);
  }
}

void TRLEEncoder::FlushWithTable(Count count) {
  Count repeats = count / table_length_;
  Count rest = count % table_length_;
  Count rest_cost = rest > 0 ? 1 : 0;
  if (codes_sent_ + repeats + rest_cost > run_codes_) {
    repeats = run_codes_ - codes_sent_;
    rest = count - repeats * table_length_;
    rest_cost = 1 + Triangle(rest);
  }
  if (1 + Triangle(count) < repeats + rest_cost) {
    Clear();
    FlushFromClear(count);
    return;
  }
  clear_count_ = run_codes_;
  const unsigned full_code = first_free_code_ + static_cast<unsigned>(table_length_) - 2;
  for (; repeats > 0; --repeats) OutputPlain(full_code);
  if (rest > 0) {
    if (just_cleared_) {
      FlushFromClear(rest);
    } else if (rest == 1) {
      OutputPlain(run_pixel_);
    } else {
      OutputPlain(first_free_code_ + static_cast<unsigned>(rest) - 2);
    }
  }
  ResetClearCount();
}

void TRLEEncoder::FlushRun() {
  if (run_length_ == 1) {
    OutputPlain(run_pixel_);
  } else if (just_cleared_) {
    FlushFromClear(run_length_);
  } else if (table_length_ < 2 || table_pixel_ != run_pixel_) {
    FlushClearOrRepeat(run_length_);
  } else {
    FlushWithTable(run_length_);
  }
  run_length_ = 0;
}

void TRLEEncoder::CompressPixels() {
  run_codes_ = 4095 - static_cast<Count>(first_free_code_);
  initial_bump_ = static_cast<Count>(clear_code_) - 1;
  initial_clear_count_ = bits_per_pixel_ > 3 ? static_cast<Count>(clear_code_) - 2 : 9;
  run_length_ = 0;
  table_length_ = 0;
  Clear();

  const std::uint8_t* p;
  const std::uint8_t* end;
  while (NextSpan(p, end)) {
    while (p != end) {
      const unsigned pixel = *p;
      if (run_length_ > 0 && pixel != run_pixel_) FlushRun();
      const std::uint8_t* q = RunEnd(p + 1, end, static_cast<std::uint8_t>(pixel));
      run_pixel_ = pixel;
      run_length_ += q - p;
      p = q;
    }
  }
  if (run_length_ > 0) FlushRun();
}

}  // namespace rf::gif
