// The codec's one colour: red, green and blue, 8 bits each. Colour tables,
// palettes (gif/base/palette.h adds the flags byte), lookups and the
// simple writer all use it; the Win32 room converts it to PALETTEENTRY or
// COLORREF at the edge.
#pragma once

#include <cstdint>

namespace rf::gif {

struct TGIFColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const TGIFColor&, const TGIFColor&) = default;
};

}  // namespace rf::gif
