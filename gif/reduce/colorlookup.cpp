#include "gif/reduce/colorlookup.h"

#include <cstdlib>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

TFastColorLookup::TFastColorLookup(Palette palette)
    : TColorLookup(std::move(palette)), cells_(32768, kEmpty) {
  if (palette_.empty()) throw GIFException(msg::kColorTableEmpty);
  if (palette_.size() > 256) palette_.resize(256);
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const PaletteEntry& e = palette_[i];
    std::int16_t& cell = cells_[CellOf(e.red, e.green, e.blue)];
    if (cell == kEmpty) cell = static_cast<std::int16_t>(i);
  }
}

std::uint8_t TFastColorLookup::Search(std::uint8_t red, std::uint8_t green,
                                      std::uint8_t blue) const {
  int best = 0;
  int best_distance = 4 * 256;
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const PaletteEntry& e = palette_[i];
    int d = std::abs(e.red - red) + std::abs(e.green - green) + std::abs(e.blue - blue);
    if (d < best_distance) {
      best_distance = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return static_cast<std::uint8_t>(best);
}

std::uint8_t TFastColorLookup::Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                      TGIFColor& chosen) {
  std::int16_t& cell = cells_[CellOf(red, green, blue)];
  if (cell == kEmpty) cell = Search(red, green, blue);
  const PaletteEntry& e = palette_[static_cast<std::size_t>(cell)];
  chosen = {e.red, e.green, e.blue};
  return static_cast<std::uint8_t>(cell);
}

TNetscapeColorLookup::TNetscapeColorLookup() : TColorLookup(WebCubePalette()) {}
TGrayScaleLookup::TGrayScaleLookup() : TColorLookup(GreyScalePalette()) {}
TMonochromeLookup::TMonochromeLookup() : TColorLookup(MonochromePalette()) {}

}  // namespace rf::gif
