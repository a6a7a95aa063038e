#include "gif/lzwencoder.h"

#include <cstring>

namespace rf::gif {

namespace {
// The last code handed out before the table is cleared; 4095 stays unused so
// a decoder's table never fills.
constexpr unsigned kLastCode = 4094;
}  // namespace

THashTable::THashTable() : slots_(new std::uint32_t[kSize]) { Clear(); }

void THashTable::Clear() { std::memset(slots_.get(), 0xFF, sizeof(std::uint32_t) * kSize); }

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
  next_code_ = first_free_code_;
}

void TLZWEncoder::CompressPixels() {
  const std::uint8_t* p;
  const std::uint8_t* end;
  if (!NextSpan(p, end)) return;
  next_code_ = first_free_code_;
  table_.Clear();
  just_cleared_ = true;
  OutputCode(clear_code_);

  unsigned prefix = *p++;
  do {
    for (; p != end; ++p) {
      const unsigned pixel = *p;
      const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | pixel;
      const int slot = table_.FindSlot(key);
      if (slot >= 0 && !table_.IsFree(slot)) {
        prefix = table_.CodeAt(slot);
        continue;
      }
      OutputCode(prefix);
      prefix = pixel;
      // A probe sequence without a free slot counts as a full table.
      if (next_code_ > kLastCode || slot < 0) {
        ClearTable();
      } else {
        table_.Put(slot, key, next_code_++);
      }
    }
  } while (NextSpan(p, end));
  OutputCode(prefix);
}

}  // namespace rf::gif
