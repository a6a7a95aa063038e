#include "gif/write/lzwencoder.h"

#include <cstring>

namespace rf::gif {

namespace {
// The last code handed out before the table is cleared; 4095 stays unused so
// a decoder's table never fills.
constexpr unsigned kLastCode = 4094;
}  // namespace

THashTable::THashTable() : slots_(new std::uint32_t[kSize]) {
  Clear();
}

void THashTable::Clear() {
  std::memset(slots_.get(), 0xFF, sizeof(std::uint32_t) * kSize);
}

void TLZWEncoder::OutputCode(unsigned code) {
  Output(code);
  // The decoder's table grows by one entry per code; its code size grows
  // when the next free code no longer fits.
  if (next_code_ > max_code_ || just_cleared_) {
    if (just_cleared_) {
      code_size_ = initial_code_size_;
      just_cleared_ = false;
    } else {
      ++code_size_;
    }
    max_code_ = code_size_ >= kMaxCodeSize ? 4096u : (1u << code_size_) - 1;
  }
}

void TLZWEncoder::ClearTable() {
  just_cleared_ = true;
  OutputCode(clear_code_);
  table_.Clear();
  std::memset(child_cache_.get(), 0, sizeof(std::uint32_t) * 4096 * kCacheWays);
  next_code_ = first_free_code_;
}

void TLZWEncoder::CompressPixels() {
  const std::uint8_t* span_begin;
  const std::uint8_t* span_end;
  if (!NextSpan(span_begin, span_end)) return;
  ClearTable();

  std::uint32_t* const cache = child_cache_.get();
  const std::uint8_t* p = span_begin;
  unsigned prefix = *p++;
  for (;;) {
    const std::uint8_t* const end = span_end;
    for (; p != end; ++p) {
      const unsigned pixel = *p;
      const std::uint32_t tag = (pixel + 1) << 16;
      std::uint32_t& cached = cache[prefix * kCacheWays + (pixel & (kCacheWays - 1))];
      if ((cached & 0xFFFF0000u) == tag) {
        prefix = cached & 0xFFFF;
        continue;
      }
      const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | pixel;
      const int slot = table_.FindSlot(key);
      if (slot >= 0 && !table_.IsFree(slot)) {
        const unsigned code = table_.CodeAt(slot);
        cached = tag | code;
        prefix = code;
        continue;
      }
      OutputCode(prefix);
      // A probe sequence without a free slot counts as a full table.
      if (next_code_ > kLastCode || slot < 0) {
        prefix = pixel;
        ClearTable();
      } else {
        table_.Put(slot, key, next_code_);
        cached = tag | next_code_;
        ++next_code_;
        prefix = pixel;
      }
    }
    if (!NextSpan(span_begin, span_end)) break;
    p = span_begin;
  }
  OutputCode(prefix);
}

}  // namespace rf::gif
