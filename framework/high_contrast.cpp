#include "framework/high_contrast.h"

#include <algorithm>
#include <utility>

namespace rf::fw {

namespace {

int Channel(std::uint32_t value, int shift) {
  return static_cast<int>((value >> shift) & 0xFF);
}

}  // namespace

std::uint32_t ContrastPixel(std::uint32_t dib_pixel, const ContrastColors& colors) {
  // The pictures are grey; a tinted pixel counts by its mean level.
  const int level = std::min(
      (Channel(dib_pixel, 16) + Channel(dib_pixel, 8) + Channel(dib_pixel, 0)) / 3, kPictureSilver);
  std::uint32_t out = 0;
  // COLORREF keeps red lowest, the DIB highest.
  for (const auto& [from, to] : {std::pair{0, 16}, std::pair{8, 8}, std::pair{16, 0}}) {
    const int ink = Channel(colors.ink, from), paper = Channel(colors.paper, from);
    const int mixed =
        (ink * (kPictureSilver - level) + paper * level + kPictureSilver / 2) / kPictureSilver;
    out |= static_cast<std::uint32_t>(mixed) << to;
  }
  return out;
}

}  // namespace rf::fw
