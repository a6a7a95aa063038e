// Compressing one frame's pixels with the coder a picture chooses. Kept
// apart from the coders' base so that the base does not know the coders
// built on it.
#pragma once

#include <cstdint>
#include <vector>

#include "gif/base/gifsettings.h"

namespace rf::gif {

// Appends the frame's image data (minimum code size byte, sub-blocks, 0)
// as TGIFEncoder::Compress does, with gcLZW or gcRLE.
void CompressFrame(std::vector<std::uint8_t>& out, TGIFCompression compression, int bits_per_pixel,
                   int num_colors, const std::uint8_t* pixels, bool interlaced, int height,
                   int width);

}  // namespace rf::gif
