#include "gif/read/lzwdecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

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

// Each pixel value as a string of one pixel, with room behind the last
// for reading 16 bytes at a time.
constexpr std::array<std::uint8_t, 256 + 16> kPixelStrings = [] {
  std::array<std::uint8_t, 256 + 16> values{};
  for (int v = 0; v < 256; ++v) values[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(v);
  return values;
}();

// Where each pixel value's string lies: the fast view's entries for the
// codes below the clear code.
constexpr std::array<const std::uint8_t*, 256> kPixelWhere = [] {
  std::array<const std::uint8_t*, 256> where{};
  for (std::size_t v = 0; v < 256; ++v) where[v] = kPixelStrings.data() + v;
  return where;
}();

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
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

// Reads codes from the image data anywhere, by bit position over the
// bytes of its sub-blocks. Meant for data already read once: it does not
// look for the terminator, and answers zero bits past the stream's end.
class DataBits {
 public:
  DataBits(const std::uint8_t* src, std::size_t src_size, std::size_t cursor, std::uint64_t bit_pos)
      : src_(src), src_size_(src_size), cursor_(cursor) {
    for (std::uint64_t skip = bit_pos >> 3; skip > 0;) {
      if (left_ == 0) {
        if (cursor_ >= src_size_) break;
        NextBlock();
      }
      const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(skip, left_));
      cursor_ += n;
      left_ -= n;
      skip -= n;
    }
    const int offset = static_cast<int>(bit_pos & 7);
    if (offset != 0) {
      acc_ = NextByte() >> offset;
      count_ = 8 - offset;
    }
  }

  int Read(int n) {
    while (count_ < n) {
      acc_ |= static_cast<std::uint32_t>(NextByte()) << count_;
      count_ += 8;
    }
    const int v = static_cast<int>(acc_ & ((1u << n) - 1));
    acc_ >>= n;
    count_ -= n;
    return v;
  }

 private:
  void NextBlock() {
    const std::size_t size = src_[cursor_++];
    left_ = std::min(size, src_size_ - cursor_);
  }
  std::uint32_t NextByte() {
    while (left_ == 0) {
      if (cursor_ >= src_size_) return 0;
      NextBlock();
    }
    --left_;
    return src_[cursor_++];
  }

  const std::uint8_t* src_;
  std::size_t src_size_;
  std::size_t cursor_;
  std::size_t left_ = 0;  // bytes left in the current sub-block
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

// What reading a code answers besides a code: the data gave no further
// code (cut short, or the terminator came), or an end code ended the data.
constexpr int kNoCode = -1;
constexpr int kEnded = -2;

// The bits of the image data: each sub-block, as the standard's reader
// reads it, is put into a window behind the bits not used yet, and codes
// are fetched from there as 32-bit words. Sub-blocks count as read in the
// same order and at the same moments as in the plain decoder, so warnings
// and the end of the data fall on the same codes.
class LzwBitWindow {
 public:
  LzwBitWindow(GIFInputStream& in, const LzwWarningSink& warn)
      : warn_(warn),
        src_(in.Data()),
        src_size_(in.Size()),
        cursor_(in.Position()),
        data_start_(in.Position()) {}

  // Fetches a code at a sub-block boundary or when the data have run out;
  // kNoCode when there is none.
  int ReadCode(int n) {
    if (pos_ + static_cast<std::uint64_t>(n) >= loaded_) {
      if (done_) {
        if (pos_ >= loaded_) Warn(msg::kBitBufferUnderrun);
        return kNoCode;
      }
      do {
        if (cursor_ >= src_size_) return kNoCode;
        std::size_t size = src_[cursor_++];
        if (size == 0) {
          done_ = true;
          zero_seen_ = true;
        } else {
          std::size_t avail = std::min(size, src_size_ - cursor_);
          if (avail < size) Warn(msg::kPrematureEnd);
          Append(src_ + cursor_, avail);
          cursor_ += avail;
        }
      } while (pos_ + static_cast<std::uint64_t>(n) > loaded_ && !done_);
      if (pos_ + static_cast<std::uint64_t>(n) > loaded_) {
        if (pos_ >= loaded_) Warn(msg::kBitBufferUnderrun);
        return kNoCode;
      }
    }
    std::uint32_t v = Load32(window_ + (pos_ >> 3)) >> (pos_ & 7);
    pos_ += static_cast<std::uint64_t>(n);
    return static_cast<int>(v & ((1u << n) - 1));
  }

  // Passes over the rest of the data up to and with the terminator.
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

  // The stream position of the next sub-block's size byte.
  std::size_t Cursor() const { return cursor_; }
  // Bits of the image data used so far.
  std::uint64_t BitPosition() const { return window_bits_ + pos_; }
  // A reader of the same data from a bit position on, for reading codes
  // again.
  DataBits Replay(std::uint64_t bit_pos) const {
    return DataBits(src_, src_size_, data_start_, bit_pos);
  }

  // The window itself, for the fast loop: it fetches codes from bit pos_
  // on while pos_ plus the code size stays below loaded_.
  static constexpr std::size_t kWindowSlack = 8;  // for reading 4 bytes at a time
  std::uint8_t window_[1024] = {};
  std::uint64_t pos_ = 0;     // bits of the window used
  std::uint64_t loaded_ = 0;  // bits of the window filled

 private:
  void Warn(const char* message) {
    if (warn_) warn_(message);
  }

  // Puts a sub-block's bytes behind the window's unread bits, first moving
  // those to the front when the window would overflow.
  void Append(const std::uint8_t* bytes, std::size_t count) {
    std::size_t used = static_cast<std::size_t>(loaded_ >> 3);
    if (used + count + kWindowSlack > sizeof(window_)) {
      const std::size_t keep = static_cast<std::size_t>(pos_ >> 3);
      std::memmove(window_, window_ + keep, used - keep);
      window_bits_ += keep * 8;
      pos_ -= keep * 8;
      used -= keep;
    }
    std::memcpy(window_ + used, bytes, count);
    loaded_ = (used + count) * 8;
  }

  const LzwWarningSink& warn_;
  const std::uint8_t* src_;
  std::size_t src_size_;
  std::size_t cursor_;             // next sub-block size byte in the stream
  const std::size_t data_start_;   // the first sub-block's size byte
  std::uint64_t window_bits_ = 0;  // bits of the image data before the window
  bool done_ = false;              // the terminator was read
  bool zero_seen_ = false;
};

// Fast mode's table: where each code's string lies (in the output, or in
// the table of single pixels) and how long it is. One spare entry past the
// last code takes the definitions made once the table is full, so the loop
// needs no test for that.
struct LzwStringTable {
  const std::uint8_t* where[kLzwTableSize + 1];
  std::uint16_t length[kLzwTableSize + 1];
};

// Slow mode's table: the standard's prefix and suffix of each code, whose
// strings are unwound on a stack.
struct LzwChainTable {
  // Pixels, clear and end code; made when slow mode first needs them, as
  // most frames never do.
  void InitLowEntries(int clear) {
    if (low_entries_ready) return;
    for (int c = 0; c < clear + 2; ++c) {
      prefix[c] = 0;
      suffix[c] = c < clear ? static_cast<std::uint8_t>(c) : 0;
    }
    low_entries_ready = true;
  }
  // Entries from `from` up hold no string yet: they unwind as the
  // standard's zeroed table.
  void ZeroFrom(int from) {
    for (int c = from; c < kLzwTableSize; ++c) {
      prefix[c] = 0;
      suffix[c] = 0;
    }
  }
  void Push(std::uint8_t value) {
    if (sp >= kLzwStackSize) throw GIFException(msg::kCircularTable);
    stack[sp++] = value;
  }

  std::uint16_t prefix[kLzwTableSize];
  std::uint8_t suffix[kLzwTableSize];
  std::uint8_t stack[kLzwStackSize];
  int sp = 0;
  bool low_entries_ready = false;
};

// The decoder keeps its table in two modes. As long as each entry was
// defined from strings already in the output (always, for well-formed
// data), an entry is known by where its string lies and how long it is, so
// a code's string is copied from there in whole words (fast mode, the
// LzwStringTable). A code beyond the next free one, or a first code after a
// clear that names no pixel, makes entries that refer to entries not yet
// defined; from there until the next clear the decoder unwinds strings
// through the prefix and suffix table of the GIF standard on a stack (slow
// mode, the LzwChainTable). Prefix and suffix are filled from the fast
// table when slow mode begins, by replaying the codes since the clear.
class FastDecoder {
 public:
  FastDecoder(GIFInputStream& in, const LzwWarningSink& warn, int min_size)
      : bits_(in, warn), min_size_(min_size), clear_(1 << min_size), end_(clear_ + 1) {
    // Codes above 255 stand for their low 8 bits.
    for (int c = 0; c < clear_; c += 256) {
      std::memcpy(strings_.where + c, kPixelWhere.data(),
                  sizeof(strings_.where[0]) * std::min(clear_ - c, 256));
    }
    std::fill(strings_.length, strings_.length + clear_, std::uint16_t{1});
    // Clear and end have no string: the fast loop leaves them to the caller.
    strings_.where[clear_] = strings_.where[end_] = kPixelStrings.data();
    strings_.length[clear_] = strings_.length[end_] = kNoString;
  }

  // Decodes into out (total bytes plus slack); answers how many pixels
  // the data gave.
  std::size_t Run(std::uint8_t* out, std::size_t total);
  // The stream position behind the image data.
  std::size_t FinishData() {
    bits_.SkipRest();
    return bits_.Cursor();
  }

 private:
  enum class Stop { kFull, kOverflow, kEnd };
  // What the fast loop answers besides a code it leaves to the caller.
  static constexpr int kFrameFull = -10;
  static constexpr int kStringOverflow = -11;
  static constexpr int kNeedBits = -12;
  // The length that marks clear and end, longer than any string.
  static constexpr std::size_t kNoString = 0xFFFF;

  // The first code of the data counts as a clear code.
  int ReadCode(int n) {
    if (first_call_) {
      first_call_ = false;
      return clear_;
    }
    return bits_.ReadCode(n);
  }

  int EndOfData() {
    bits_.SkipRest();
    ended_ = true;
    return kEnded;
  }

  // Fills prefix and suffix from the fast view; entries from the next free
  // code up hold no string yet and unwind as the standard's zeroed table.
  // The fast view keeps no prefixes and no previous code: each code after
  // a clear defined one entry whose prefix is the code before it, so the
  // codes are read again from the first one after the clear.
  void EnterSlow() {
    if (slow_) return;
    chains_.InitLowEntries(clear_);
    DataBits bits = bits_.Replay(replay_pos_);
    int code = replay_first_;
    int size = min_size_ + 1;
    int limit = 2 * clear_;
    for (int c = clear_ + 2; c < next_free_; ++c) {
      chains_.prefix[c] = static_cast<std::uint16_t>(code);
      chains_.suffix[c] = strings_.where[c][strings_.length[c] - 1u];
      code = bits.Read(size);
      if (c + 1 >= limit && limit < kLzwTableSize) {
        limit *= 2;
        ++size;
      }
    }
    // (Once the table is full the previous code is not needed again: no
    // code lies beyond the next free one, and nothing more is defined.)
    old_ = code;
    chains_.ZeroFrom(next_free_);
    slow_ = true;
  }

  // After a clear code: answers the first pixel (or the end).
  int ClearStep() {
    size_ = min_size_ + 1;
    limit_ = 2 * clear_;
    next_free_ = clear_ + 2;
    chains_.sp = 0;
    slow_ = false;
    int code;
    do {
      code = ReadCode(size_);
    } while (code == clear_);
    if (code < 0) return code;
    if (code == end_) return EndOfData();
    if (code >= next_free_) slow_ = true;  // nothing defined yet to carry over
    old_ = code;
    first_ = static_cast<std::uint8_t>(code);
    replay_first_ = code;
    replay_pos_ = bits_.BitPosition();
    if (slow_) {
      chains_.InitLowEntries(clear_);
      chains_.ZeroFrom(next_free_);
    }
    return code;
  }

  int GenericNext() {
    if (ended_) return kEnded;
    int code = ReadCode(size_);
    if (code < 0) return code;
    return GenericDecode(code);
  }

  // The standard's decoding of one code (slow mode): answers its first
  // pixel and leaves the rest of its string on the stack.
  int GenericDecode(int code) {
    if (code == clear_) return ClearStep();
    if (code == end_) return EndOfData();
    EnterSlow();
    int in_code = code;
    if (code >= next_free_) {
      chains_.Push(first_);
      code = old_;
    }
    while (code >= clear_) {
      chains_.Push(chains_.suffix[code]);
      if (chains_.prefix[code] == code) throw GIFException(msg::kCircularTable);
      code = chains_.prefix[code];
    }
    first_ = chains_.suffix[code];
    chains_.Push(first_);
    if (next_free_ < kLzwTableSize) {
      chains_.prefix[next_free_] = static_cast<std::uint16_t>(old_);
      chains_.suffix[next_free_] = first_;
      ++next_free_;
      if (next_free_ >= limit_ && limit_ < kLzwTableSize) {
        limit_ *= 2;
        ++size_;
      }
    }
    old_ = in_code;
    return chains_.stack[--chains_.sp];
  }

  // Writes a pixel and the rest of its string from the stack; false when
  // the string reaches beyond the frame.
  bool EmitUnwound(std::uint8_t* out, std::size_t total, int pixel) {
    if (!slow_) {  // a clear code brought the fast view back
      prev_off_ = p_;
    }
    out[p_++] = static_cast<std::uint8_t>(pixel);
    while (chains_.sp > 0 && p_ < total) out[p_++] = chains_.stack[--chains_.sp];
    return chains_.sp == 0;
  }

  // Kept out of line: inlined into Run, its state no longer fits in
  // registers.
  [[gnu::noinline]] int FastLoop(std::uint8_t* out, std::size_t total, int first_code);

  LzwBitWindow bits_;
  bool first_call_ = true;
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

  // The first code after the last clear, and where in the image data the
  // next one begins.
  int replay_first_ = 0;
  std::uint64_t replay_pos_ = 0;

  std::size_t p_ = 0;         // pixels written
  std::size_t prev_off_ = 0;  // where the previous code's string begins; it ends at p_

  LzwStringTable strings_;
  LzwChainTable chains_;
};

// Decodes codes while they need nothing but the fast view: literal pixels,
// defined strings, and the string being defined. Starts with `first_code`
// when it is not negative. Answers kFrameFull, kStringOverflow (the frame is full
// and the last string went beyond it), kNeedBits (the next code crosses
// into a sub-block not read yet), or a code it leaves to the caller (clear,
// end, or beyond the next free one).
int FastDecoder::FastLoop(std::uint8_t* out, const std::size_t total, int first_code) {
  // State in locals: stores to the output may alias any member, and
  // locals stay in registers. The tables are addressed from `this`.
  std::uint64_t pos = bits_.pos_;
  const std::uint64_t loaded = bits_.loaded_;
  std::uint64_t size = static_cast<std::uint64_t>(size_);
  std::size_t mask = (std::size_t{1} << size) - 1;
  std::size_t next_free = static_cast<std::size_t>(next_free_);
  std::uint8_t* op = out + p_;
  // The previous code's string runs from prev to op.
  std::uint8_t* prev = out + prev_off_;
  std::uint8_t* const end = out + total;
  // Strings that reach `stop` take the careful way: those that fill the
  // frame, and clear and end, whose length kNoString reaches beyond it.
  const auto stop_from = [end](std::uint8_t* at) {
    return static_cast<std::size_t>(end - at) > kNoString ? at + kNoString : end;
  };
  std::uint8_t* stop = stop_from(op);
  const auto define = [&](std::size_t len) {
    strings_.where[next_free] = prev;
    strings_.length[next_free] = static_cast<std::uint16_t>(len);
    if (++next_free > mask) [[unlikely]] {
      if (mask < kLzwTableSize - 1u) {
        ++size;
        mask = mask * 2 + 1;
      } else {
        next_free = kLzwTableSize;  // full: the spare entry takes the next ones
      }
    }
  };
  int result;

  // The next code is read at the bottom of the loop, so that the loop has
  // one entry (the compiler then keeps its state in registers).
  std::size_t code;
  if (first_code >= 0) {
    code = static_cast<std::size_t>(first_code);
  } else {
    if (pos + size >= loaded) return kNeedBits;
    code = (Load32(bits_.window_ + (pos >> 3)) >> (pos & 7)) & mask;
    pos += size;
  }
  for (;;) {
    if (code < next_free) [[likely]] {
      // A literal pixel or a defined string, alike.
      const std::uint8_t* const src = strings_.where[code];
      const std::size_t len = strings_.length[code];
      std::uint8_t* const next_op = op + len;
      if (next_op >= stop) [[unlikely]] {
        if (len == kNoString) {  // clear or end
          result = static_cast<int>(code);
          break;
        }
        if (next_op >= end) {
          define(static_cast<std::size_t>(op - prev + 1));
          const std::size_t room = static_cast<std::size_t>(end - op);
          std::memcpy(op, src, room);
          if (len > room) {
            op = end;
            result = kStringOverflow;
            break;
          }
          prev = op;
          op = end;
          result = kFrameFull;
          break;
        }
        stop = stop_from(op);
      }
      define(static_cast<std::size_t>(op - prev + 1));
      Copy16(op, src);
      if (len > 16) [[unlikely]]
        CopyFar(op + 16, src + 16, len - 16);
      prev = op;
      op = next_op;
    } else if (code == next_free) {
      // The string being defined: the previous one and its first pixel.
      const std::size_t dist = static_cast<std::size_t>(op - prev);
      const std::size_t len = dist + 1;
      define(len);
      const std::size_t room = static_cast<std::size_t>(end - op);
      if (len >= room) {
        for (std::size_t i = 0; i < room; ++i) op[i] = prev[i];
        if (len > room) {
          op = end;
          result = kStringOverflow;
          break;
        }
        prev = op;
        op = end;
        result = kFrameFull;
        break;
      }
      if (dist >= 16) {
        // Each 16 bytes read lie wholly before the ones being written.
        CopyFar(op, prev, len);
      } else {
        // The first dist bytes are the previous string; the last is its
        // first pixel, which the 16-byte copy cannot have seen yet.
        Copy16(op, prev);
        op[dist] = prev[0];
      }
      prev = op;
      op += len;
    } else {
      result = static_cast<int>(code);
      break;
    }
    const std::uint64_t next = pos + size;
    if (next >= loaded) [[unlikely]] {
      result = kNeedBits;
      break;
    }
    code = (Load32(bits_.window_ + (pos >> 3)) >> (pos & 7)) & mask;
    pos = next;
  }

  bits_.pos_ = pos;
  size_ = static_cast<int>(size);
  next_free_ = static_cast<int>(next_free);
  limit_ = static_cast<int>(mask) + 1;
  p_ = static_cast<std::size_t>(op - out);
  prev_off_ = static_cast<std::size_t>(prev - out);
  return result;
}

std::size_t FastDecoder::Run(std::uint8_t* out, const std::size_t total) {
  Stop stop = Stop::kFull;
  int pending = kNoCode;
  for (;;) {
    if (p_ >= total) break;
    if (slow_) {
      int pixel = GenericNext();
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
    pending = kNoCode;
    if (r == kFrameFull) break;
    if (r == kStringOverflow) {
      stop = Stop::kOverflow;
      break;
    }
    if (r == kNeedBits) {
      pending = ReadCode(size_);
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
      int pixel = GenericDecode(r);
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
    GenericNext();
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
