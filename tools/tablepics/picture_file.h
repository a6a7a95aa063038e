// The stored form of a table picture: a GIF stream, wrapped as the framework
// stores a picture property (the picture class name as a string with one
// length byte, then the class's own data).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include <vector>
#include "resources/picture_property.h"

#include "tools/tablepics/table_picture.h"

namespace rf::tablepics {

inline constexpr std::string_view kPictureClass = resources::kGifPictureClass;

struct Rgb {
  std::uint8_t red, green, blue;
};

// The 256-entry colour table of every table picture: the sixteen VGA colours
// arranged so that black is entry 0 and silver entry 4, then black.
std::array<Rgb, 256> TablePalette();

// GIF89a: the picture as logical screen and one full-size, non-interlaced
// image at (0, 0) with the global table above, a graphic control extension
// without transparency and delay 0, LZW minimum code size 8.
std::vector<std::uint8_t> EncodeGif(const IndexedPicture& picture,
                                    const std::array<Rgb, 256>& palette = TablePalette());

// kPictureClass with its length byte, then the stream.
std::vector<std::uint8_t> PictureProperty(std::span<const std::uint8_t> gif);

// Portable pixmap (binary PPM) of the picture, for looking at it.
std::vector<std::uint8_t> EncodePpm(const IndexedPicture& picture,
                                    const std::array<Rgb, 256>& palette = TablePalette());

}  // namespace rf::tablepics
