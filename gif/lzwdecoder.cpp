#include "gif/lzwdecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#include "gif/gifexception.h"
#include "gif/gifmessages.h"

namespace rf::gif {

static_assert(std::endian::native == std::endian::little,
              "codes are fetched as little-endian words");

void InterlacedRowOrder(std::size_t height, std::size_t* rows) {
  static constexpr std::size_t kStart[4] = {0, 4, 2, 1};
  static constexpr std::size_t kStep[4] = {8, 8, 4, 2};
  std::size_t k = 0;
  for (int pass = 0; pass < 4; ++pass) {
    for (std::size_t y = kStart[pass]; y < height; y += kStep[pass]) rows[k++] = y;
  }
}

namespace {

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void Copy8(std::uint8_t* dst, const std::uint8_t* src) {
  std::uint64_t v;
  std::memcpy(&v, src, 8);
  std::memcpy(dst, &v, 8);
}

inline void Copy16(std::uint8_t* dst, const std::uint8_t* src) {
  std::uint8_t v[16];
  std::memcpy(v, src, 16);
  std::memcpy(dst, v, 16);
}

// Copies a string that lies wholly before dst. Writes up to 15 bytes beyond
// dst + len (into later output or the slack).
inline void CopyFar(std::uint8_t* dst, const std::uint8_t* src, std::size_t len) {
  for (;;) {
    Copy16(dst, src);
    if (len <= 16) return;
    len -= 16;
    dst += 16;
    src += 16;
  }
}

// Copies a string that overlaps its own output at distance dst - src
// (the string being defined by the code that uses it).
inline void CopyNear(std::uint8_t* dst, const std::uint8_t* src, std::size_t len) {
  if (dst - src >= 8) {
    for (std::size_t i = 0; i < len; i += 8) Copy8(dst + i, src + i);
  } else {
    for (std::size_t i = 0; i < len; ++i) dst[i] = src[i];
  }
}

// The decoder keeps two views of the string table. As long as each entry
// was defined from strings already in the output (always, for well-formed
// data), an entry is known by where its string lies in the output and how
// long it is, so a code's string is copied from there in whole words ("fast"
// mode). A code beyond the next free one, or a first code after a clear that
// names no pixel, makes entries that refer to entries not yet defined; from
// there until the next clear the decoder unwinds strings through the prefix
// and suffix table of the GIF standard on a stack ("slow" mode). Prefix and
// suffix are filled from the fast view when slow mode begins.
class FastDecoder {
 public:
  FastDecoder(GIFInputStream& in, const LzwWarningSink& warn, int min_size)
      : warn_(warn),
        src_(in.Data()),
        src_size_(in.Size()),
        cursor_(in.Position()),
        min_size_(min_size),
        clear_(1 << min_size),
        end_(clear_ + 1) {
    GatherData();
    for (int c = 0; c < clear_; ++c) {
      literals_[c] = static_cast<std::uint8_t>(c);
      entries_[c] = {static_cast<std::uint32_t>(c), 1, 0};
    }
    std::memset(literals_ + clear_, 0, 16);
  }

  // Decodes into out (total bytes plus slack); answers how many pixels
  // the data gave.
  std::size_t Run(std::uint8_t* out, std::size_t total);
  // The stream position behind the image data.
  std::size_t FinishData() {
    SkipRest();
    return cursor_;
  }

 private:
  enum class Stop { kFull, kOverflow, kEnd };
  // What the fast loop answers besides a code it leaves to the caller.
  static constexpr int kFrameFull = -10;
  static constexpr int kStringOverflow = -11;
  static constexpr int kNeedBits = -12;

  struct Entry {
    std::uint32_t offset;  // where the string lies in the output
    std::uint16_t length;
    std::uint16_t prefix;
  };

  void Warn(const char* message) {
    if (warn_) warn_(message);
  }

  // Copies all sub-blocks' bytes into one buffer; which of them count as
  // read is decided as codes are fetched (ReadCodeSlow).
  void GatherData() {
    std::size_t c = cursor_;
    std::size_t total = 0;
    while (c < src_size_) {
      std::size_t size = src_[c++];
      if (size == 0) break;
      std::size_t avail = std::min(size, src_size_ - c);
      total += avail;
      c += avail;
    }
    data_.reset(new std::uint8_t[total + 8]);
    std::uint8_t* d = data_.get();
    c = cursor_;
    while (c < src_size_) {
      std::size_t size = src_[c++];
      if (size == 0) break;
      std::size_t avail = std::min(size, src_size_ - c);
      std::memcpy(d, src_ + c, avail);
      d += avail;
      c += avail;
    }
    std::memset(d, 0, 8);
  }

  void SkipRest() {
    if (zero_seen_) return;
    while (cursor_ < src_size_) {
      std::size_t size = src_[cursor_++];
      if (size == 0) {
        zero_seen_ = true;
        return;
      }
      cursor_ += std::min(size, src_size_ - cursor_);
    }
  }

  // Fetches a code at a sub-block boundary, on the first call, or when the
  // data have run out. Sub-blocks count as read in the same order and at
  // the same moments as in the plain decoder, so warnings and the end of
  // the data fall on the same codes.
  int ReadCodeSlow(int n) {
    if (first_call_) {
      first_call_ = false;
      return clear_;
    }
    if (pos_ + static_cast<std::uint64_t>(n) >= loaded_) {
      if (done_) {
        if (pos_ >= loaded_) Warn(msg::kBitBufferUnderrun);
        return -1;
      }
      do {
        if (cursor_ >= src_size_) return -1;
        std::size_t size = src_[cursor_++];
        if (size == 0) {
          done_ = true;
          zero_seen_ = true;
        } else {
          std::size_t avail = std::min(size, src_size_ - cursor_);
          if (avail < size) Warn(msg::kPrematureEnd);
          cursor_ += avail;
          loaded_ += avail * 8;
        }
      } while (pos_ + static_cast<std::uint64_t>(n) > loaded_ && !done_);
      if (pos_ + static_cast<std::uint64_t>(n) > loaded_) {
        if (pos_ >= loaded_) Warn(msg::kBitBufferUnderrun);
        return -1;
      }
    }
    std::uint32_t v = Load32(data_.get() + (pos_ >> 3)) >> (pos_ & 7);
    pos_ += static_cast<std::uint64_t>(n);
    return static_cast<int>(v & ((1u << n) - 1));
  }

  int EndOfData() {
    SkipRest();
    ended_ = true;
    return -2;
  }

  // Fills prefix and suffix from the fast view; entries from the next free
  // code up hold no string yet and unwind as the standard's zeroed table.
  void EnterSlow(const std::uint8_t* out) {
    if (slow_) return;
    InitLowEntries();
    for (int c = clear_ + 2; c < next_free_; ++c) {
      prefix_[c] = entries_[c].prefix;
      suffix_[c] = out[entries_[c].offset + entries_[c].length - 1u];
    }
    for (int c = next_free_; c < kLzwTableSize; ++c) {
      prefix_[c] = 0;
      suffix_[c] = 0;
    }
    slow_ = true;
  }

  // Pixels, clear and end code in the standard's table; made when slow
  // mode first needs them, as most frames never do.
  void InitLowEntries() {
    if (low_entries_ready_) return;
    for (int c = 0; c < clear_ + 2; ++c) {
      prefix_[c] = 0;
      suffix_[c] = c < clear_ ? static_cast<std::uint8_t>(c) : 0;
    }
    low_entries_ready_ = true;
  }

  // After a clear code: answers the first pixel (or the end).
  int ClearStep() {
    size_ = min_size_ + 1;
    limit_ = 2 * clear_;
    next_free_ = clear_ + 2;
    sp_ = 0;
    slow_ = false;
    int code;
    do {
      code = ReadCodeSlow(size_);
    } while (code == clear_);
    if (code < 0) return code;
    if (code == end_) return EndOfData();
    if (code >= next_free_) slow_ = true;  // nothing defined yet to carry over
    old_ = code;
    first_ = static_cast<std::uint8_t>(code);
    if (slow_) {
      InitLowEntries();
      for (int c = next_free_; c < kLzwTableSize; ++c) {
        prefix_[c] = 0;
        suffix_[c] = 0;
      }
    }
    return code;
  }

  void Push(std::uint8_t value) {
    if (sp_ >= kLzwStackSize) throw GIFException(msg::kCircularTable);
    stack_[sp_++] = value;
  }

  int GenericNext(const std::uint8_t* out) {
    if (ended_) return -2;
    int code = ReadCodeSlow(size_);
    if (code < 0) return code;
    return GenericDecode(code, out);
  }

  // The standard's decoding of one code (slow mode): answers its first
  // pixel and leaves the rest of its string on the stack.
  int GenericDecode(int code, const std::uint8_t* out) {
    if (code == clear_) return ClearStep();
    if (code == end_) return EndOfData();
    EnterSlow(out);
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
      prefix_[next_free_] = static_cast<std::uint16_t>(old_);
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

  // Writes a pixel and the rest of its string from the stack; false when
  // the string reaches beyond the frame.
  bool EmitUnwound(std::uint8_t* out, std::size_t total, int pixel) {
    if (!slow_) {  // a clear code brought the fast view back
      prev_off_ = p_;
    }
    out[p_++] = static_cast<std::uint8_t>(pixel);
    while (sp_ > 0 && p_ < total) out[p_++] = stack_[--sp_];
    return sp_ == 0;
  }

  int FastLoop(std::uint8_t* out, std::size_t total, int code);

  const LzwWarningSink& warn_;
  const std::uint8_t* src_;
  std::size_t src_size_;
  std::size_t cursor_;  // next sub-block size byte in the stream
  std::unique_ptr<std::uint8_t[]> data_;
  std::uint64_t pos_ = 0;     // bits of data_ used
  std::uint64_t loaded_ = 0;  // bits of data_ in sub-blocks read
  bool first_call_ = true;
  bool done_ = false;
  bool zero_seen_ = false;
  bool ended_ = false;

  const int min_size_;
  const int clear_;
  const int end_;
  int size_ = 0;
  int limit_ = 0;
  int next_free_ = 0;
  int old_ = 0;
  std::uint8_t first_ = 0;
  bool slow_ = false;
  bool low_entries_ready_ = false;

  std::size_t p_ = 0;         // pixels written
  std::size_t prev_off_ = 0;  // where the previous code's string begins; it ends at p_

  Entry entries_[kLzwTableSize];  // literals: offset into literals_
  std::uint8_t literals_[kLzwTableSize / 2 + 16];
  std::uint16_t prefix_[kLzwTableSize];
  std::uint8_t suffix_[kLzwTableSize];
  std::uint8_t stack_[kLzwStackSize];
  int sp_ = 0;
};

// Decodes codes while they need nothing but the fast view: literal pixels,
// defined strings, and the string being defined. Starts with `code` when it
// is not negative. Answers kFrameFull, kStringOverflow (the frame is full
// and the last string went beyond it), kNeedBits (the next code crosses
// into a sub-block not read yet), or a code it leaves to the caller (clear,
// end, or beyond the next free one).
int FastDecoder::FastLoop(std::uint8_t* out, const std::size_t total, int code) {
  // State in locals: stores to the output may alias any member, and
  // locals stay in registers.
  const std::uint8_t* const data = data_.get();
  std::uint64_t pos = pos_;
  const std::uint64_t loaded = loaded_;
  int size = size_;
  std::uint32_t mask = (1u << size) - 1;
  int next_free = next_free_;
  int old = old_;
  std::size_t p = p_;
  // The previous code's string ends where the output stands, and the code
  // limit is always mask + 1: fewer values to keep in registers.
  std::size_t prev_off = prev_off_;
  const int clear = clear_;
  Entry* const entries = entries_;
  const std::uint8_t* const literals = literals_;
  int result;

  if (code >= 0) goto have_code;
  for (;;) {
    if (p >= total) {
      result = kFrameFull;
      break;
    }
    if (pos + static_cast<std::uint64_t>(size) >= loaded) {
      result = kNeedBits;
      break;
    }
    code = static_cast<int>((Load32(data + (pos >> 3)) >> (pos & 7)) & mask);
    pos += static_cast<std::uint64_t>(size);

  have_code:
    if (static_cast<unsigned>(code) < static_cast<unsigned>(next_free) &&
        static_cast<unsigned>(code - clear) > 1u) {
      // A literal pixel or a defined string, alike: literals lie in their
      // own table, strings in the output.
      const Entry entry = entries[code];
      const std::size_t len = entry.length;
      const std::uint8_t* const src = (code < clear ? literals : out) + entry.offset;
      if (next_free < kLzwTableSize) {
        entries[next_free] = {static_cast<std::uint32_t>(prev_off),
                              static_cast<std::uint16_t>(p - prev_off + 1),
                              static_cast<std::uint16_t>(old)};
        if (++next_free > static_cast<int>(mask) && mask < kLzwTableSize - 1u) {
          ++size;
          mask = (1u << size) - 1;
        }
      }
      if (len > total - p) {
        std::memcpy(out + p, src, total - p);
        p = total;
        result = kStringOverflow;
        break;
      }
      if (len <= 16) {
        Copy16(out + p, src);
      } else {
        CopyFar(out + p, src, len);
      }
      prev_off = p;
      old = code;
      p += len;
    } else if (code == next_free) {
      // The string being defined: the previous one and its first pixel.
      const std::size_t len = p - prev_off + 1;
      const std::size_t src = prev_off;
      entries[next_free] = {static_cast<std::uint32_t>(prev_off), static_cast<std::uint16_t>(len),
                            static_cast<std::uint16_t>(old)};
      if (++next_free > static_cast<int>(mask) && mask < kLzwTableSize - 1u) {
        ++size;
        mask = (1u << size) - 1;
      }
      if (len > total - p) {
        for (std::size_t i = 0; p < total; ++i) out[p++] = out[src + i];
        result = kStringOverflow;
        break;
      }
      CopyNear(out + p, out + src, len);
      prev_off = p;
      old = code;
      p += len;
    } else {
      result = code;
      break;
    }
  }

  pos_ = pos;
  size_ = size;
  next_free_ = next_free;
  limit_ = static_cast<int>(mask) + 1;
  old_ = old;
  p_ = p;
  prev_off_ = prev_off;
  return result;
}

std::size_t FastDecoder::Run(std::uint8_t* out, const std::size_t total) {
  Stop stop = Stop::kFull;
  int pending = -1;
  for (;;) {
    if (p_ >= total) break;
    if (slow_) {
      int pixel = GenericNext(out);
      if (pixel < 0) {
        stop = Stop::kEnd;
        break;
      }
      if (!EmitUnwound(out, total, pixel)) {
        stop = Stop::kOverflow;
        break;
      }
      continue;
    }
    int r = FastLoop(out, total, pending);
    pending = -1;
    if (r == kFrameFull) break;
    if (r == kStringOverflow) {
      stop = Stop::kOverflow;
      break;
    }
    if (r == kNeedBits) {
      pending = ReadCodeSlow(size_);
      if (pending < 0) {
        stop = Stop::kEnd;
        break;
      }
      continue;
    }
    if (r == clear_) {
      int pixel = ClearStep();
      if (pixel < 0) {
        stop = Stop::kEnd;
        break;
      }
      out[p_] = static_cast<std::uint8_t>(pixel);
      prev_off_ = p_;
      ++p_;
    } else if (r == end_) {
      EndOfData();
      stop = Stop::kEnd;
      break;
    } else {
      // A code beyond the next free one: from here on the table may refer
      // to entries not yet defined, so strings are unwound the slow way.
      first_ = out[prev_off_];
      int pixel = GenericDecode(r, out);
      if (!EmitUnwound(out, total, pixel)) {
        stop = Stop::kOverflow;
        break;
      }
    }
  }

  // One more request after the frame is full or the data ended: a string
  // that reached beyond the frame only gives up its next pixel, otherwise
  // the next code is decoded (normally the end code).
  if (stop != Stop::kOverflow) {
    if (!slow_ && p_ > 0) first_ = out[prev_off_];
    GenericNext(out);
  }
  return p_;
}

}  // namespace

void DecodeLzwFrame(GIFInputStream& in, const LzwFrameLayout& layout, std::uint8_t* pixels,
                    const LzwWarningSink& warn) {
  const std::size_t total = layout.width * layout.height;
  std::uint8_t min_size;
  if (!in.ReadByte(min_size)) {
    std::memset(pixels, layout.fill, total);
    return;
  }
  if (min_size > kLzwMaxBits - 1) throw GIFException(msg::kClearCodeTooLarge);

  auto decoder = std::make_unique<FastDecoder>(in, warn, min_size);
  if (!layout.interlaced || layout.height <= 1) {
    std::size_t got = decoder->Run(pixels, total);
    std::memset(pixels + got, layout.fill, total - got);
  } else {
    std::unique_ptr<std::uint8_t[]> linear(new std::uint8_t[total + kLzwOutputSlack]);
    std::size_t got = decoder->Run(linear.get(), total);
    std::memset(linear.get() + got, layout.fill, total - got);
    std::vector<std::size_t> rows(layout.height);
    InterlacedRowOrder(layout.height, rows.data());
    for (std::size_t k = 0; k < layout.height; ++k) {
      std::memcpy(pixels + rows[k] * layout.width, linear.get() + k * layout.width, layout.width);
    }
  }
  in.Seek(decoder->FinishData());
}

}  // namespace rf::gif
