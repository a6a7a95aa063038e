#include "tools/animart/anim_art.h"

#include <cmath>
#include <cstdlib>

namespace rf::tools {
namespace {

enum : std::uint8_t { kParchment, kInk, kGold, kRed, kShade, kClear };

constexpr int kSeal = 13;  // the seal's tile size

// The three runes as strokes on a 9 × 15 grid (x0, y0, x1, y1).
struct Stroke {
  int x0, y0, x1, y1;
};
const std::vector<std::vector<Stroke>> kRunes = {
    {{0, 0, 0, 14}, {0, 0, 6, 4}, {6, 4, 0, 7}, {0, 7, 7, 14}},  // R
    {{0, 0, 0, 14}, {0, 4, 6, 0}, {0, 9, 6, 5}},                 // F
    {{0, 0, 0, 14}, {8, 0, 8, 14}, {0, 3, 8, 11}},               // D-like
};

void Line(std::vector<std::uint8_t>& px, int w, int h, int x0, int y0, int x1, int y1,
          std::uint8_t c) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    for (int oy = 0; oy < 2; ++oy)
      for (int ox = 0; ox < 2; ++ox) {
        const int x = x0 + ox, y = y0 + oy;
        if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<std::size_t>(y * w + x)] = c;
      }
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

gif::SimpleFrame Background() {
  gif::SimpleFrame f;
  f.width = kAnimWidth;
  f.height = kAnimHeight;
  f.pixels.assign(static_cast<std::size_t>(kAnimWidth * kAnimHeight), kParchment);
  for (int y = 0; y < kAnimHeight; ++y)
    for (int x = 0; x < kAnimWidth; ++x) {
      const bool border = x < 2 || y < 2 || x >= kAnimWidth - 2 || y >= kAnimHeight - 2;
      // A faint grain keeps the parchment from looking flat.
      const bool grain = ((x * 7 + y * 13) % 23) == 0;
      if (border) {
        f.pixels[static_cast<std::size_t>(y * kAnimWidth + x)] = kInk;
      } else if (grain) {
        f.pixels[static_cast<std::size_t>(y * kAnimWidth + x)] = kShade;
      }
    }
  for (std::size_t r = 0; r < kRunes.size(); ++r) {
    const int ox = 16 + static_cast<int>(r) * 26;
    const int oy = 16;
    for (const Stroke& s : kRunes[r])
      Line(f.pixels, kAnimWidth, kAnimHeight, ox + s.x0, oy + s.y0, ox + s.x1, oy + s.y1, kInk);
  }
  f.control = gif::SimpleControl{40, 1, false, -1};
  return f;
}

gif::SimpleFrame Seal(int step) {
  gif::SimpleFrame f;
  f.width = kSeal;
  f.height = kSeal;
  const double t = static_cast<double>(step) / (kAnimSteps - 1);
  f.left = 3 + static_cast<int>(std::lround(t * (kAnimWidth - kSeal - 6)));
  f.top = (kAnimHeight - kSeal) / 2 +
          static_cast<int>(std::lround(std::sin(t * 2 * 3.14159265358979) * 14));
  f.pixels.assign(static_cast<std::size_t>(kSeal * kSeal), kClear);
  const double c = (kSeal - 1) / 2.0;
  for (int y = 0; y < kSeal; ++y)
    for (int x = 0; x < kSeal; ++x) {
      const double d = std::hypot(x - c, y - c);
      std::uint8_t v = kClear;
      if (d <= 6.2) v = kGold;
      if (d <= 6.2 && d > 5.0) v = kInk;
      if (d <= 2.2) v = kRed;
      f.pixels[static_cast<std::size_t>(y * kSeal + x)] = v;
    }
  // Each step is shown and then taken back; the last one is wiped to the
  // background colour, which the parchment shares.
  const int disposal = step == kAnimSteps - 1 ? 2 : 3;
  f.control = gif::SimpleControl{6, disposal, false, kClear};
  return f;
}

}  // namespace

gif::SimplePicture MakeAnimationPicture() {
  gif::SimplePicture pic;
  pic.width = kAnimWidth;
  pic.height = kAnimHeight;
  pic.colors = {{236, 224, 196}, {70, 44, 28},  {214, 170, 48}, {176, 32, 28},
                {222, 206, 172}, {255, 0, 255}, {0, 0, 0},      {255, 255, 255}};
  pic.background = kParchment;
  pic.loop_count = 0;
  pic.frames.push_back(Background());
  for (int step = 0; step < kAnimSteps; ++step) pic.frames.push_back(Seal(step));
  return pic;
}

std::vector<std::uint8_t> MakeAnimationGif() {
  return gif::SaveSimplePicture(MakeAnimationPicture());
}

}  // namespace rf::tools
