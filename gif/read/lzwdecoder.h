// Decoding a frame's image data: the variable-length-code LZW of GIF, with
// the rows of an interlaced frame put in their places.
//
// Where decoding ends (the same for every decoder of this interface):
// - The stream is left behind the image data's zero-length terminator, or
//   at the end of the stream when the data are cut short. This holds also
//   when the last code's string reaches beyond the frame or codes follow
//   the frame's last pixel: the rest of the data is passed over.
// - Pixels that the data do not reach keep the fill value.
// - After the last pixel one more code is read and decoded (it is usually
//   the end code); its errors count, its pixels do not.
// - An end code ends the data, also right after a clear code, and every
//   later request answers the end again without reading.
// - A code that runs across several short sub-blocks is joined from all of
//   them; a code cut off by the terminator ends the data.
// Errors: "Circular decoder table entry" (GIFException) for a code whose
// string refers to itself or exceeds the table, "ClearCode too large" for a
// minimum code size above 11. Warnings: "Premature end of data" when a
// sub-block promises more bytes than the stream holds, "Decoder bit buffer
// under-run" when a code is asked for after the terminator with no bit left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "gif/base/gifstream.h"

namespace rf::gif {

struct LzwFrameLayout {
  std::size_t width = 0;
  std::size_t height = 0;
  bool interlaced = false;
  std::uint8_t fill = 0;  // the transparent index of a transparent frame, else 0
};

using LzwWarningSink = std::function<void(const char* message)>;

inline constexpr int kLzwMaxBits = 12;
inline constexpr int kLzwTableSize = 1 << kLzwMaxBits;  // codes 0 to 4095
inline constexpr int kLzwStackSize = 8192;
// Writable bytes the decoder may use behind the frame's last pixel.
inline constexpr std::size_t kLzwOutputSlack = 16;

// The stream stands at the minimum code size byte. pixels holds width ×
// height bytes followed by kLzwOutputSlack writable bytes.
void DecodeLzwFrame(GIFInputStream& in, const LzwFrameLayout& layout, std::uint8_t* pixels,
                    const LzwWarningSink& warn);

// Where the rows of an interlaced frame go: entry k is the row that the
// k-th decoded row fills (passes every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1).
void InterlacedRowOrder(std::size_t height, std::size_t* rows);

}  // namespace rf::gif
