// The conversion behind the gifconvert tool, apart from its command line.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gif/base/gifsettings.h"
#include "gif/base/palette.h"

namespace rf::gif {

struct ConvertOptions {
  TColorReduction method = rmNetscape;
  TDitherMode dither_mode = dmNearest;
  int bits = 8;
  Palette palette;  // method 9
  bool run_length = false;
  bool alpha_transparency = false;
};

// A BMP or GIF file's picture as a GIF stream. A GIF keeps its frames,
// their places, extensions and transparency; each frame's colours are
// reduced anew. Raises GIFException for a file of neither kind.
std::vector<std::uint8_t> ConvertPicture(std::span<const std::uint8_t> file,
                                         const ConvertOptions& options);

}  // namespace rf::gif
