// The demo host's animation: a parchment tile with three runes, over which
// a gold seal travels on a wave. The background is one frame left in
// place; each step of the seal is a small transparent frame restored to the
// previous picture afterwards, and the last step clears its area to the
// background, so the picture exercises every disposal the painter knows.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/model/gifsimple.h"

namespace rf::tools {

inline constexpr int kAnimWidth = 96;
inline constexpr int kAnimHeight = 48;
inline constexpr int kAnimSteps = 16;

gif::SimplePicture MakeAnimationPicture();
std::vector<std::uint8_t> MakeAnimationGif();

}  // namespace rf::tools
