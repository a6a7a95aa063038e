// The colours of a high-contrast theme and how a picture's two colours,
// black and silver, are drawn in them. Portable, so the mapping is tested
// natively; reading the theme from the system is framework/theme.h.
#pragma once

#include <cstdint>

namespace rf::fw {

// COLORREF values (0x00BBGGRR).
struct ContrastColors {
  std::uint32_t ink;    // the window text colour: the pictures' black
  std::uint32_t paper;  // the window colour: their silver
  std::uint32_t focus;  // the highlight colour: the keyboard cursor
  bool operator==(const ContrastColors&) const = default;
};

// The silver of the table pictures; the pictures drawn for larger scales
// smooth their glyphs with greys between it and black.
inline constexpr int kPictureSilver = 192;

// A pixel as a 32-bit DIB holds it (0x00RRGGBB), mapped: black to ink,
// silver (and anything lighter) to paper, a grey between them to the
// colour as far between ink and paper.
std::uint32_t ContrastPixel(std::uint32_t dib_pixel, const ContrastColors& colors);

}  // namespace rf::fw
