// Byte-level pieces of a GIF stream as the writer emits them. The picture
// objects' SaveToStream methods and the simple picture writer both build on
// these, so the two cannot drift apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rf::gif {

using ByteVector = std::vector<std::uint8_t>;

inline void PutByte(ByteVector& out, std::uint8_t b) {
  out.push_back(b);
}
inline void PutWord(ByteVector& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutBytes(ByteVector& out, const void* data, std::size_t count) {
  auto* p = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), p, p + count);
}

// Bits needed to index count colour table entries: the smallest b >= 1 with
// 2^b >= count (a GIF colour table has 2^b entries, b from 1 to 8).
int ColorBits(int count);

// Writes count RGB triples, then black entries up to 2^ColorBits(count);
// nothing for count 0.
void WriteColorTable(ByteVector& out, const std::uint8_t* rgb, int count);

// Writes text lines as data sub-blocks (each line cut into blocks of at most
// 255 bytes, an empty line writes nothing), then the 0 terminator.
void WriteLines(ByteVector& out, const std::vector<std::string>& lines);

// "GIF87a" for version 1 and "GIF89a" for version 2; any other version
// raises "Unsupported GIF version".
void WriteSignature(ByteVector& out, int version);

// The logical screen descriptor's packed byte. The size field describes the
// global table that actually follows (2^(its own bits) entries), as the
// standard ties the two together; the colour resolution is the largest of
// all the picture's tables.
std::uint8_t ScreenPackedByte(int global_count, bool global_sorted, int largest_bits);

}  // namespace rf::gif
