// The input side of the codec: a read-only view of a GIF stream's bytes with
// a position. Reading never runs past the end; the read-exact operations
// raise "Premature end of data" when the bytes are not there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace rf::gif {

class GIFInputStream {
 public:
  explicit GIFInputStream(std::span<const std::uint8_t> data) : data_(data) {}

  std::size_t Size() const { return data_.size(); }
  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  const std::uint8_t* Data() const { return data_.data(); }

  // Positions past the end are clamped to the end, as is reading.
  void Seek(std::size_t pos) { pos_ = pos < data_.size() ? pos : data_.size(); }
  void Skip(std::size_t count) { Seek(count < Remaining() ? pos_ + count : data_.size()); }
  void StepBack(std::size_t count = 1) { pos_ = count < pos_ ? pos_ - count : 0; }

  // The next byte, or false at the end of the stream.
  bool ReadByte(std::uint8_t& b) {
    if (pos_ >= data_.size()) return false;
    b = data_[pos_++];
    return true;
  }
  // Up to count bytes; answers how many were read.
  std::size_t Read(void* dst, std::size_t count) {
    std::size_t n = count < Remaining() ? count : Remaining();
    if (n != 0) std::memcpy(dst, data_.data() + pos_, n);
    pos_ += n;
    return n;
  }
  // Exactly count bytes, or "Premature end of data" (the position is then
  // at the end of the stream).
  void ReadExact(void* dst, std::size_t count);
  std::uint8_t ReadExactByte();
  std::uint16_t ReadExactWord();
  std::uint32_t ReadExactDWord();

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace rf::gif
