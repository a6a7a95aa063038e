// Write-only streams of the GIF writer. TGIFWriter packs whatever is written
// through it into data sub-blocks (a size byte, then up to 255 bytes), the
// form in which GIF carries image data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rf::gif {

// A stream that allows nothing: reading and seeking are never allowed on the
// writer's streams, and writing only where a derived class provides it.
class TGIFStream {
 public:
  enum class Origin { kBegin, kCurrent, kEnd };

  virtual ~TGIFStream() = default;
  virtual std::size_t Read(void* buffer, std::size_t count);
  virtual std::int64_t Seek(std::int64_t offset, Origin origin);
  virtual void Write(const void* data, std::size_t count);
};

class TGIFWriter : public TGIFStream {
 public:
  static constexpr std::size_t kBlockSize = 255;

  explicit TGIFWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  TGIFWriter(const TGIFWriter&) = delete;
  TGIFWriter& operator=(const TGIFWriter&) = delete;
  // A writer that was not flushed loses its partial block: flushing can
  // grow the output and belongs to the normal path, not to unwinding.
  ~TGIFWriter() override = default;

  void Write(const void* data, std::size_t count) override;
  void WriteByte(std::uint8_t b) {
    buffer_[fill_++] = b;
    if (fill_ == kBlockSize) Flush();
  }
  // Writes the partly filled block, if any. The caller writes the 0
  // terminator of the sub-block sequence itself.
  void Flush();

 private:
  std::vector<std::uint8_t>& out_;
  std::uint8_t buffer_[kBlockSize] = {};
  std::size_t fill_ = 0;
};

// Writes bytes as the data sub-blocks of one line: blocks of at most 255
// bytes, nothing for an empty line. No terminator.
void WriteSubBlocks(std::vector<std::uint8_t>& out, const std::uint8_t* data, std::size_t count);

}  // namespace rf::gif
