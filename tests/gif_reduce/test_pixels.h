// Building pixel buffers in tests.
#pragma once

#include <cstdint>
#include <vector>

namespace rf::gif {

inline void Append3(std::vector<std::uint8_t>& v, int a, int b, int c) {
  v.push_back(static_cast<std::uint8_t>(a));
  v.push_back(static_cast<std::uint8_t>(b));
  v.push_back(static_cast<std::uint8_t>(c));
}

}  // namespace rf::gif
