#include "gif/write/gifwriter.h"

#include <algorithm>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

namespace {
[[noreturn]] void InvalidOperation() {
  throw GIFException(msg::kInvalidStreamOperation);
}
}  // namespace

std::size_t TGIFStream::Read(void*, std::size_t) {
  InvalidOperation();
}
std::int64_t TGIFStream::Seek(std::int64_t, Origin) {
  InvalidOperation();
}
void TGIFStream::Write(const void*, std::size_t) {
  InvalidOperation();
}

void TGIFWriter::Write(const void* data, std::size_t count) {
  auto* p = static_cast<const std::uint8_t*>(data);
  while (count > 0) {
    const std::size_t n = std::min(count, kBlockSize - fill_);
    std::copy_n(p, n, buffer_ + fill_);
    fill_ += n;
    p += n;
    count -= n;
    if (fill_ == kBlockSize) Flush();
  }
}

void TGIFWriter::Flush() {
  if (fill_ == 0) return;
  out_.push_back(static_cast<std::uint8_t>(fill_));
  out_.insert(out_.end(), buffer_, buffer_ + fill_);
  fill_ = 0;
}

void WriteSubBlocks(std::vector<std::uint8_t>& out, const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const std::size_t n = std::min<std::size_t>(count, TGIFWriter::kBlockSize);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data, data + n);
    data += n;
    count -= n;
  }
}

}  // namespace rf::gif
