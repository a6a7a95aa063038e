#include "gif/base/palette.h"

#include <array>

namespace rf::gif {

namespace {

// The 20 static colours of a 256-colour display, in the system's order.
constexpr std::array<PaletteEntry, 20> kStaticColors = {{
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
}};

Palette Greys(std::initializer_list<int> levels) {
  Palette p;
  for (int v : levels) {
    auto g = static_cast<std::uint8_t>(v);
    p.push_back({g, g, g, pcNoCollapse});
  }
  return p;
}

}  // namespace

Palette DefaultSystemPalette() {
  return Palette(kStaticColors.begin(), kStaticColors.end());
}

// The halftone palette as the platform hands it out on a display of more
// than 256 colours: the static colours at both ends, and between them a
// colour ramp of 3 bits red (low), 3 bits green, 2 bits blue (high).
Palette HalftoneSystemPalette() {
  Palette p(256);
  for (int i = 0; i < 256; ++i) {
    p[i] = {static_cast<std::uint8_t>((i & 7) * 32), static_cast<std::uint8_t>(((i >> 3) & 7) * 32),
            static_cast<std::uint8_t>(((i >> 6) & 3) * 64), 0};
  }
  for (int i = 0; i < 10; ++i) {
    p[i] = kStaticColors[i];
    p[246 + i] = kStaticColors[10 + i];
  }
  return p;
}

Palette FourGreyPalette() {
  return Greys({0, 128, 192, 255});
}

Palette MonochromePalette() {
  return Greys({0, 255});
}

Palette GreyScalePalette() {
  Palette p(256);
  for (int i = 0; i < 256; ++i) {
    auto g = static_cast<std::uint8_t>(i);
    p[i] = {g, g, g, pcNoCollapse};
  }
  return p;
}

Palette WebCubePalette() {
  Palette p;
  p.reserve(216);
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        p.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                     static_cast<std::uint8_t>(b * 51), 0});
  return p;
}

}  // namespace rf::gif
