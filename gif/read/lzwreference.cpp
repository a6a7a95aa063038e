#include "gif/read/lzwreference.h"

#include <algorithm>
#include <memory>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {
namespace {

class ReferenceDecoder {
 public:
  ReferenceDecoder(GIFInputStream& in, const LzwWarningSink& warn, int min_size)
      : in_(in), warn_(warn), min_size_(min_size), clear_(1 << min_size), end_(clear_ + 1) {}

  int NextPixel() {
    if (sp_ > 0) return stack_[--sp_];
    return DecodeNextCode();
  }

  // Passes over what is left of the image data, through its terminator.
  void SkipRest() {
    if (zero_seen_) return;
    std::uint8_t size;
    while (in_.ReadByte(size)) {
      if (size == 0) {
        zero_seen_ = true;
        return;
      }
      in_.Skip(size);
    }
  }

 private:
  void Warn(const char* message) {
    if (warn_) warn_(message);
  }

  int ReadCode(int n) {
    if (first_call_) {
      first_call_ = false;
      return clear_;
    }
    if (bitpos_ + n >= bits_) {
      if (done_) {
        if (bitpos_ >= bits_) Warn(msg::kBitBufferUnderrun);
        return -1;
      }
      // One sub-block at a time, as many as the code needs.
      do {
        buf_[0] = buf_[bytes_ - 2];
        buf_[1] = buf_[bytes_ - 1];
        std::uint8_t size;
        if (!in_.ReadByte(size)) return -1;
        int count = size;
        if (size == 0) {
          done_ = true;
          zero_seen_ = true;
        } else {
          if (in_.Remaining() < size) {
            Warn(msg::kPrematureEnd);
            count = static_cast<int>(in_.Remaining());
          }
          in_.ReadExact(buf_ + 2, static_cast<std::size_t>(count));
        }
        bytes_ = count + 2;
        bitpos_ = bitpos_ - bits_ + 16;
        bits_ = bytes_ * 8;
      } while (bitpos_ + n > bits_ && !done_);
      if (bitpos_ + n > bits_) {
        if (bitpos_ >= bits_) Warn(msg::kBitBufferUnderrun);
        return -1;
      }
    }
    int first = bitpos_ / 8;
    int last = (bitpos_ + n - 1) / 8;
    unsigned value = 0;
    for (int i = last; i >= first; --i) value = (value << 8) | buf_[i];
    value = (value >> (bitpos_ % 8)) & ((1u << n) - 1);
    bitpos_ += n;
    return static_cast<int>(value);
  }

  void Push(int value) {
    if (sp_ >= kLzwStackSize) throw GIFException(msg::kCircularTable);
    stack_[sp_++] = value;
  }

  int EndOfData() {
    SkipRest();
    ended_ = true;
    return -2;
  }

  int ClearStep() {
    for (int c = 0; c < kLzwTableSize; ++c) {
      prefix_[c] = 0;
      suffix_[c] = c < clear_ ? c : 0;
    }
    size_ = min_size_ + 1;
    limit_ = 2 * clear_;
    next_free_ = clear_ + 2;
    sp_ = 0;
    int code;
    do {
      code = ReadCode(size_);
    } while (code == clear_);
    if (code < 0) return code;
    if (code == end_) return EndOfData();
    old_ = code;
    first_ = code;
    return code;
  }

  int DecodeNextCode() {
    if (ended_) return -2;
    int code = ReadCode(size_);
    if (code < 0) return code;
    if (code == clear_) return ClearStep();
    if (code == end_) return EndOfData();
    int in_code = code;
    if (code >= next_free_) {
      Push(first_);
      code = old_;
    }
    while (code >= clear_) {
      Push(suffix_[code]);
      if (prefix_[code] == code) throw GIFException(msg::kCircularTable);
      code = prefix_[code];
    }
    first_ = suffix_[code];
    Push(first_);
    if (next_free_ < kLzwTableSize) {
      prefix_[next_free_] = old_;
      suffix_[next_free_] = first_;
      ++next_free_;
      if (next_free_ >= limit_ && limit_ < kLzwTableSize) {
        limit_ *= 2;
        ++size_;
      }
    }
    old_ = in_code;
    return stack_[--sp_];
  }

  GIFInputStream& in_;
  const LzwWarningSink& warn_;
  const int min_size_;
  const int clear_;
  const int end_;
  int size_ = 0;
  int limit_ = 0;
  int next_free_ = 0;
  int old_ = 0;
  int first_ = 0;
  int prefix_[kLzwTableSize] = {};
  int suffix_[kLzwTableSize] = {};
  int stack_[kLzwStackSize] = {};
  int sp_ = 0;
  std::uint8_t buf_[2 + 255] = {};
  int bitpos_ = 0;
  int bits_ = 0;
  int bytes_ = 2;
  bool first_call_ = true;
  bool done_ = false;
  bool zero_seen_ = false;
  bool ended_ = false;
};

}  // namespace

void DecodeLzwFrameReference(GIFInputStream& in, const LzwFrameLayout& layout, std::uint8_t* pixels,
                             const LzwWarningSink& warn) {
  const std::size_t width = layout.width;
  const std::size_t height = layout.height;
  std::fill(pixels, pixels + width * height, layout.fill);
  std::uint8_t min_size;
  if (!in.ReadByte(min_size)) return;
  if (min_size > kLzwMaxBits - 1) throw GIFException(msg::kClearCodeTooLarge);

  auto decoder = std::make_unique<ReferenceDecoder>(in, warn, min_size);
  // Rows in the order the data holds them: straight down, or the four
  // interlace passes (every 8th row from 0, every 8th from 4, every 4th
  // from 2, every 2nd from 1).
  std::size_t row = 0;
  std::size_t step = layout.interlaced ? 8 : 1;
  int pass = 0;
  bool stopped = false;
  for (std::size_t k = 0; k < height && !stopped; ++k) {
    for (std::size_t x = 0; x < width; ++x) {
      int pixel = decoder->NextPixel();
      if (pixel < 0) {
        stopped = true;
        break;
      }
      pixels[row * width + x] = static_cast<std::uint8_t>(pixel);
    }
    row += step;
    if (layout.interlaced) {
      while (row >= height && step > 0) {
        if (pass > 0) step /= 2;
        ++pass;
        row = step / 2;
      }
    }
  }
  decoder->NextPixel();
  decoder->SkipRest();
}

}  // namespace rf::gif
