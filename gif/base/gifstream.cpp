#include "gif/base/gifstream.h"

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

void GIFInputStream::ReadExact(void* dst, std::size_t count) {
  if (Read(dst, count) != count) throw GIFException(msg::kPrematureEnd);
}

std::uint8_t GIFInputStream::ReadExactByte() {
  std::uint8_t b;
  if (!ReadByte(b)) throw GIFException(msg::kPrematureEnd);
  return b;
}

std::uint16_t GIFInputStream::ReadExactWord() {
  std::uint8_t b[2];
  ReadExact(b, 2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t GIFInputStream::ReadExactDWord() {
  std::uint8_t b[4];
  ReadExact(b, 4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

}  // namespace rf::gif
