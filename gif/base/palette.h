// Palettes of the colour reduction: entries with the flags byte of a
// logical palette, and the fixed palettes the reduction methods use.
#pragma once

#include <cstdint>
#include <vector>

namespace rf::gif {

// Flag of a palette entry: the entry keeps its own slot in the system
// palette instead of being matched to an existing one.
inline constexpr std::uint8_t pcNoCollapse = 0x04;

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
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

// Where methods 1 and 2 take their palettes from. The portable build uses
// the fixed tables above; the Win32 build asks the system.
struct SystemPalettes {
  Palette default_palette = DefaultSystemPalette();
  Palette halftone_palette = HalftoneSystemPalette();
};

}  // namespace rf::gif
