#include "gif/write/gifsave.h"

#include <algorithm>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/write/gifwriter.h"

namespace rf::gif {

int ColorBits(int count) {
  int bits = 1;
  while (bits < 8 && (1 << bits) < count) ++bits;
  return bits;
}

void WriteColorTable(ByteVector& out, const std::uint8_t* rgb, int count) {
  if (count <= 0) return;
  count = std::min(count, 256);
  PutBytes(out, rgb, static_cast<std::size_t>(count) * 3);
  const int padded = 1 << ColorBits(count);
  out.insert(out.end(), static_cast<std::size_t>(padded - count) * 3, 0);
}

void WriteLines(ByteVector& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    WriteSubBlocks(out, reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
  }
  out.push_back(0);
}

void WriteSignature(ByteVector& out, int version) {
  if (version != 1 && version != 2) throw GIFException(msg::kUnsupportedVersion);
  PutBytes(out, version == 1 ? "GIF87a" : "GIF89a", 6);
}

std::uint8_t ScreenPackedByte(int global_count, bool global_sorted, int largest_bits) {
  std::uint8_t packed = 0;
  if (global_count > 0) {
    packed |= 0x80;
    if (global_sorted) packed |= 0x08;
    packed |= static_cast<std::uint8_t>(ColorBits(global_count) - 1);
  }
  const int resolution = std::clamp(largest_bits, 1, 8) - 1;
  packed |= static_cast<std::uint8_t>(resolution << 4);
  return packed;
}

}  // namespace rf::gif
