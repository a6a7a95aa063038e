// A plain decoder of a frame's LZW image data, written for clarity: a bit
// reader over a buffer of one sub-block plus two carried bytes, prefix and
// suffix tables, and a pixel stack, asked one pixel at a time. It behaves
// exactly like DecodeLzwFrame and exists to check that one; it is never
// part of the module.
#pragma once

#include <cstdint>

#include "gif/read/lzwdecoder.h"

namespace rf::gif {

// pixels holds width × height bytes (no slack needed).
void DecodeLzwFrameReference(GIFInputStream& in, const LzwFrameLayout& layout, std::uint8_t* pixels,
                             const LzwWarningSink& warn);

}  // namespace rf::gif
