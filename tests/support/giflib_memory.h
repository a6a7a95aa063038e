// giflib reading a GIF stream from memory: the peer reader's input for the
// tests and benchmarks. The source must outlive the GifFileType that Open
// answers, since giflib reads from it until the file is closed.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace rf::test {

class GiflibMemorySource {
 public:
  explicit GiflibMemorySource(std::span<const std::uint8_t> data) : data_(data) {}

  // DGifOpen on the bytes; nullptr (and giflib's error code) when giflib
  // refuses the stream's head.
  GifFileType* Open(int* error) { return DGifOpen(this, &Read, error); }

 private:
  static int Read(GifFileType* gif, GifByteType* buffer, int size) {
    auto* self = static_cast<GiflibMemorySource*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(size), self->data_.size() - self->pos_);
    std::memcpy(buffer, self->data_.data() + self->pos_, n);
    self->pos_ += n;
    return static_cast<int>(n);
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace rf::test
