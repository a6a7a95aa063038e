// Palettes of the colour reduction: entries with the flags byte of a
// logical palette, and the fixed palettes the reduction methods use.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/base/gifcolor.h"

namespace rf::gif {

// Flag of a palette entry: the entry keeps its own slot in the system
// palette instead of being matched to an existing one.
inline constexpr std::uint8_t pcNoCollapse = 0x04;

// A colour with the flags byte of a logical palette's entry.
struct PaletteEntry : TGIFColor {
  constexpr PaletteEntry() = default;
  constexpr PaletteEntry(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t f = 0)
      : TGIFColor{r, g, b}, flags(f) {}
  std::uint8_t flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

using Palette = std::vector<PaletteEntry>;

// The system's default palette: its 20 static colours, the first 10 and the
// last 10 of a 256-colour display.
Palette DefaultSystemPalette();
// The system's halftone palette for a 256-colour display (256 entries).
Palette HalftoneSystemPalette();
// 4 greys: 0, 128, 192, 255, flagged no-collapse.
Palette FourGreyPalette();
// Black and white, flagged no-collapse.
Palette MonochromePalette();
// 256 greys 0..255, flagged no-collapse.
Palette GreyScalePalette();
// The 216-colour cube: levels 0, 51 ... 255, index = red level * 36 +
// green level * 6 + blue level.
Palette WebCubePalette();
// The cube level of a channel value: the nearest of 0, 51 ... 255, except
// that 250 lies on level 4 (the rounding every reader of the cube shares).
inline int CubeLevel(int v) {
  return (v + 3) / 51;
}
inline std::uint8_t CubeIndex(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint8_t>(CubeLevel(r) * 36 + CubeLevel(g) * 6 + CubeLevel(b));
}

// Where methods 1 and 2 take their palettes from. The portable build uses
// the fixed tables above; the Win32 build asks the system.
struct SystemPalettes {
  Palette default_palette = DefaultSystemPalette();
  Palette halftone_palette = HalftoneSystemPalette();
};

}  // namespace rf::gif
