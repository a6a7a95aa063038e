#include "gif/gifsimple.h"

#include <algorithm>
#include <stdexcept>

#include "gif/gifsave.h"

namespace rf::gif {

namespace {

void Require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

std::uint16_t Word(int v, const char* what) {
  Require(v >= 0 && v <= 0xFFFF, what);
  return static_cast<std::uint16_t>(v);
}

void WriteTable(ByteVector& out, const std::vector<SimpleColor>& colors) {
  static_assert(sizeof(SimpleColor) == 3);
  WriteColorTable(out, reinterpret_cast<const std::uint8_t*>(colors.data()),
                  static_cast<int>(colors.size()));
}

void WriteLoopExtension(ByteVector& out, std::uint16_t loops) {
  PutBytes(out, "\x21\xFF\x0BNETSCAPE2.0", 14);
  PutBytes(out, "\x03\x01", 2);
  PutWord(out, loops);
  PutByte(out, 0);
}

void WriteControl(ByteVector& out, const SimpleControl& c) {
  PutBytes(out, "\x21\xF9\x04", 3);
  std::uint8_t packed = static_cast<std::uint8_t>((std::clamp(c.disposal, 0, 7) << 2));
  if (c.user_input) packed |= 0x02;
  if (c.transparent >= 0) packed |= 0x01;
  PutByte(out, packed);
  PutWord(out, Word(c.delay, "GIF frame delay out of range"));
  PutByte(out, static_cast<std::uint8_t>(c.transparent >= 0 ? c.transparent : 0));
  PutByte(out, 0);
}

}  // namespace

std::vector<std::uint8_t> SaveSimplePicture(const SimplePicture& picture) {
  // Extensions are 89a; a picture of plain frames is 87a.
  int version = picture.frames.empty() ? 0 : 1;
  if (picture.loop_count) version = 2;
  int largest_bits = picture.colors.empty() ? 0 : ColorBits(static_cast<int>(picture.colors.size()));
  for (const SimpleFrame& f : picture.frames) {
    if (f.control || !f.comments.empty()) version = 2;
    if (!f.local_colors.empty()) {
      largest_bits = std::max(largest_bits, ColorBits(static_cast<int>(f.local_colors.size())));
    }
  }
  Require(picture.colors.size() <= 256, "GIF colour table larger than 256 entries");

  ByteVector out;
  WriteSignature(out, version);
  PutWord(out, Word(picture.width, "GIF screen width out of range"));
  PutWord(out, Word(picture.height, "GIF screen height out of range"));
  const int global_count = static_cast<int>(picture.colors.size());
  PutByte(out, ScreenPackedByte(global_count, false, largest_bits));
  PutByte(out, picture.background);
  PutByte(out, picture.aspect);
  WriteTable(out, picture.colors);

  bool first = true;
  for (const SimpleFrame& f : picture.frames) {
    Require(f.local_colors.size() <= 256, "GIF colour table larger than 256 entries");
    Require(f.pixels.size() ==
                static_cast<std::size_t>(std::max(f.width, 0)) * std::max(f.height, 0),
            "GIF frame pixel count does not match its size");
    if (first && picture.loop_count) WriteLoopExtension(out, *picture.loop_count);
    first = false;
    if (f.control) WriteControl(out, *f.control);
    if (!f.comments.empty()) {
      PutBytes(out, "\x21\xFE", 2);
      WriteLines(out, f.comments);
    }
    PutByte(out, 0x2C);
    PutWord(out, Word(f.left, "GIF frame position out of range"));
    PutWord(out, Word(f.top, "GIF frame position out of range"));
    PutWord(out, Word(f.width, "GIF frame size out of range"));
    PutWord(out, Word(f.height, "GIF frame size out of range"));
    int bits;
    int count;
    std::uint8_t packed = f.interlaced ? 0x40 : 0x00;
    if (!f.local_colors.empty()) {
      count = static_cast<int>(f.local_colors.size());
      bits = ColorBits(count);
      packed = static_cast<std::uint8_t>(0x80 | (packed & 0x40) | (bits - 1));
    } else {
      // Without any table nothing limits the indexes: code all 8 bits.
      bits = largest_bits > 0 ? largest_bits : 8;
      count = global_count > 0 ? 1 << ColorBits(global_count) : 1 << bits;
    }
    PutByte(out, packed);
    WriteTable(out, f.local_colors);
    CompressFrame(out, picture.compression, bits, count, f.pixels.data(), f.interlaced, f.height,
                  f.width);
  }
  PutByte(out, 0x3B);
  return out;
}

}  // namespace rf::gif
