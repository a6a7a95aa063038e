#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gif/reduce/colorlookup.h"
#include "gif/reduce/ditherer.h"

namespace rf::gif {
namespace {

// The kernels again, as (row down, step along the walk, weight), and a
// plain whole-picture error diffusion built on them: the reference the
// ditherers must match pixel for pixel.
struct Tap {
  int dy, dx, w;
};
struct Kernel {
  int mode;
  std::vector<Tap> taps;
  int divisor;
};

std::vector<Kernel> Kernels() {
  auto sym = [](int dy, std::initializer_list<std::pair<int, int>> offsets) {
    std::vector<Tap> t;
    for (auto [dx, w] : offsets) {
      t.push_back({dy, -dx, w});
      if (dx != 0) t.push_back({dy, dx, w});
    }
    return t;
  };
  auto join = [](std::initializer_list<std::vector<Tap>> parts) {
    std::vector<Tap> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  return {
      {0, {}, 1},
      {1, {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}, 16},
      {2,
       join({{{0, 1, 8}, {0, 2, 4}},
             sym(1, {{2, 2}, {1, 4}, {0, 8}}),
             sym(2, {{2, 1}, {1, 2}, {0, 4}})}),
       42},
      {3,
       join({{{0, 1, 5}, {0, 2, 3}}, sym(1, {{2, 2}, {1, 4}, {0, 5}}), sym(2, {{1, 2}, {0, 3}})}),
       32},
      {4,
       join({{{0, 1, 7}, {0, 2, 5}},
             sym(1, {{2, 3}, {1, 5}, {0, 7}}),
             sym(2, {{2, 1}, {1, 3}, {0, 5}})}),
       48},
      {5,
       join({{{0, 2, 32}, {1, -3, 12}, {1, -1, 26}, {1, 1, 30}, {1, 3, 16}},
             sym(2, {{2, 12}, {0, 26}}),
             sym(3, {{3, 5}, {1, 12}})}),
       200},
      {6, join({{{0, 1, 8}, {0, 2, 4}}, sym(1, {{2, 2}, {1, 4}, {0, 8}})}), 32},
  };
}

using Picture = std::vector<TGIFColor>;  // width * height, rows top down

std::vector<int> ReferenceDither(const Picture& pic, int width, int height, const Kernel& k,
                                 TColorLookup& lookup) {
  std::vector<int> error(pic.size() * 3, 0);
  std::vector<int> out(pic.size());
  for (int y = 0; y < height; ++y) {
    const int dir = (y % 2 == 0) ? 1 : -1;
    for (int n = 0; n < width; ++n) {
      const int x = dir > 0 ? n : width - 1 - n;
      const std::size_t i = static_cast<std::size_t>(y * width + x);
      const int in[3] = {pic[i].red, pic[i].green, pic[i].blue};
      int v[3];
      for (int c = 0; c < 3; ++c) {
        int e = error[i * 3 + c];
        v[c] = std::clamp(in[c] + (e + k.divisor / 2) / k.divisor, 0, 255);
      }
      TGIFColor chosen;
      out[i] = lookup.Lookup(static_cast<std::uint8_t>(v[0]), static_cast<std::uint8_t>(v[1]),
                             static_cast<std::uint8_t>(v[2]), chosen);
      const int err[3] = {v[0] - chosen.red, v[1] - chosen.green, v[2] - chosen.blue};
      for (const Tap& t : k.taps) {
        const int tx = x + dir * t.dx, ty = y + t.dy;
        if (tx < 0 || tx >= width || ty >= height) continue;
        const std::size_t j = static_cast<std::size_t>(ty * width + tx);
        for (int c = 0; c < 3; ++c) error[j * 3 + c] += err[c] * t.w;
      }
    }
  }
  return out;
}

std::vector<int> RunDitherer(const Picture& pic, int width, int height, int mode,
                             TColorLookup& lookup) {
  auto d = MakeDitherer(mode, width, lookup);
  std::vector<int> out(pic.size());
  for (int y = 0; y < height; ++y) {
    EXPECT_EQ(d->Direction(), y % 2 == 0 ? 1 : -1);
    for (int n = 0, x = d->StartColumn(); n < width; ++n, x += d->Direction()) {
      const TGIFColor& p = pic[static_cast<std::size_t>(y * width + x)];
      out[static_cast<std::size_t>(y * width + x)] = d->Dither(p.red, p.green, p.blue);
    }
    d->NextLine();
  }
  return out;
}

// A diagonal colour gradient with a bright and a dark corner, so that
// errors of both signs and clamping at both ends occur.
Picture Gradient(int width, int height) {
  Picture pic;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pic.push_back({static_cast<std::uint8_t>(x * 255 / (width - 1)),
                     static_cast<std::uint8_t>(y * 255 / (height - 1)),
                     static_cast<std::uint8_t>((x * 7 + y * 13) % 256)});
  return pic;
}

TEST(Ditherers, MatchTheReferenceOnAGradient) {
  const int width = 37, height = 23;
  const Picture pic = Gradient(width, height);
  const Palette few = {
      {0, 0, 0, 0}, {255, 255, 255, 0}, {200, 30, 30, 0}, {20, 120, 240, 0}, {90, 200, 60, 0}};
  for (const Kernel& k : Kernels()) {
    SCOPED_TRACE(k.mode);
    TNetscapeColorLookup cube_a, cube_b;
    EXPECT_EQ(RunDitherer(pic, width, height, k.mode, cube_a),
              ReferenceDither(pic, width, height, k, cube_b));
    TFastColorLookup few_a(few), few_b(few);
    EXPECT_EQ(RunDitherer(pic, width, height, k.mode, few_a),
              ReferenceDither(pic, width, height, k, few_b));
    TMonochromeLookup mono_a, mono_b;
    EXPECT_EQ(RunDitherer(pic, width, height, k.mode, mono_a),
              ReferenceDither(pic, width, height, k, mono_b));
  }
}

TEST(Ditherers, KernelsMatchTheirDivisors) {
  for (const Kernel& k : Kernels()) {
    if (k.mode == 0) continue;
    TNetscapeColorLookup cube;
    auto d = MakeDitherer(k.mode, 4, cube);
    auto* diffusing = dynamic_cast<TErrorDiffusionDitherer*>(d.get());
    ASSERT_NE(diffusing, nullptr);
    int sum = 0;
    for (const DitherWeight& w : diffusing->Weights()) sum += w.weight;
    EXPECT_EQ(sum, diffusing->Divisor()) << "mode " << k.mode;
  }
  TNetscapeColorLookup cube;
  EXPECT_EQ(MakeDitherer(7, 4, cube), nullptr);
  EXPECT_EQ(MakeDitherer(-1, 4, cube), nullptr);
}

TEST(Ditherers, FloydSteinbergAlternatesNeighbouringCubeColoursBetweenLevels) {
  // 25 lies halfway between the levels 0 and 51: the red channel of a flat
  // area takes both, roughly half each, and nothing else.
  const int width = 16, height = 8;
  Picture pic(width * height, TGIFColor{25, 0, 0});
  TNetscapeColorLookup cube;
  const std::vector<int> out = RunDitherer(pic, width, height, 1, cube);
  const int dark = static_cast<int>(std::count(out.begin(), out.end(), 0));
  const int red = static_cast<int>(std::count(out.begin(), out.end(), 36));
  EXPECT_EQ(dark + red, width * height);
  EXPECT_NEAR(red, width * height / 2, width);
  TNetscapeColorLookup plain;
  const std::vector<int> flat = RunDitherer(pic, width, height, 0, plain);
  EXPECT_EQ(std::count(flat.begin(), flat.end(), 0), width * height);
}

}  // namespace
}  // namespace rf::gif
