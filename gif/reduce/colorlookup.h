// Colour lookups: for a wanted colour, the index of a palette entry and
// that entry's colour. One kind per reduction palette.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/base/palette.h"

namespace rf::gif {

class TColorLookup {
 public:
  explicit TColorLookup(Palette palette) : palette_(std::move(palette)) {}
  virtual ~TColorLookup() = default;
  TColorLookup(const TColorLookup&) = delete;
  TColorLookup& operator=(const TColorLookup&) = delete;

  // Answers the index of the entry chosen for (red, green, blue) and puts
  // the entry's colour into `chosen`.
  virtual std::uint8_t Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                              TGIFColor& chosen) = 0;

  const Palette& GetPalette() const { return palette_; }
  int Colors() const { return static_cast<int>(palette_.size()); }

 protected:
  Palette palette_;
};

// Nearest colour over any palette of 1 to 256 entries. An inverse table
// with one cell per colour cut to 5 bits a channel remembers each answer;
// an empty cell is filled by a search for the smallest sum of absolute
// channel differences. Raises "Color table is empty" for an empty palette.
class TFastColorLookup final : public TColorLookup {
 public:
  explicit TFastColorLookup(Palette palette);
  std::uint8_t Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                      TGIFColor& chosen) override;

  // Cell of a colour: red in the low 5 bits, green in the middle, blue high.
  static int CellOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return (red >> 3) | ((green >> 3) << 5) | ((blue >> 3) << 10);
  }

 private:
  static constexpr std::int16_t kEmpty = -1;
  std::uint8_t Search(std::uint8_t red, std::uint8_t green, std::uint8_t blue) const;
  std::vector<std::int16_t> cells_;
};

// The 216-colour cube: each channel v goes to level (v + 3) / 51.
class TNetscapeColorLookup final : public TColorLookup {
 public:
  TNetscapeColorLookup();
  std::uint8_t Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                      TGIFColor& chosen) override {
    const int r = CubeLevel(red), g = CubeLevel(green), b = CubeLevel(blue);
    chosen = {static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
              static_cast<std::uint8_t>(b * 51)};
    return static_cast<std::uint8_t>(r * 36 + g * 6 + b);
  }
};

// 256 greys; index and grey = (77 red + 150 green + 29 blue) / 256.
class TGrayScaleLookup final : public TColorLookup {
 public:
  TGrayScaleLookup();
  std::uint8_t Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                      TGIFColor& chosen) override {
    auto g = static_cast<std::uint8_t>((77 * red + 150 * green + 29 * blue) / 256);
    chosen = {g, g, g};
    return g;
  }
};

// Black (0) and white (1); white from a weighted sum of 32513 on.
class TMonochromeLookup final : public TColorLookup {
 public:
  TMonochromeLookup();
  std::uint8_t Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                      TGIFColor& chosen) override {
    if (77 * red + 150 * green + 29 * blue >= 32513) {
      chosen = {255, 255, 255};
      return 1;
    }
    chosen = {0, 0, 0};
    return 0;
  }
};

}  // namespace rf::gif
