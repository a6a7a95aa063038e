#include "gif/write/framecoder.h"

#include "gif/write/lzwencoder.h"
#include "gif/write/rleencoder.h"

namespace rf::gif {

void CompressFrame(std::vector<std::uint8_t>& out, TGIFCompression compression, int bits_per_pixel,
                   int num_colors, const std::uint8_t* pixels, bool interlaced, int height,
                   int width) {
  if (compression == gcRLE) {
    TRLEEncoder coder;
    coder.Compress(out, bits_per_pixel, num_colors, pixels, interlaced, height, width);
  } else {
    TLZWEncoder coder;
    coder.Compress(out, bits_per_pixel, num_colors, pixels, interlaced, height, width);
  }
}

}  // namespace rf::gif
