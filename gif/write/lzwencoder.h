// The table-based LZW coder of the GIF standard. Strings are found through an
// open-addressed hash table of (prefix code, pixel) keys.
#pragma once

#include <cstdint>
#include <memory>

#include "gif/write/gifencoder.h"

namespace rf::gif {

class THashTable {
 public:
  static constexpr int kSize = 8009;  // prime

  THashTable();
  // Marks every slot free.
  void Clear();

  // The slot that holds key, or the first free slot on its probe sequence
  // when the key is absent; -1 when the sequence has no free slot left.
  int FindSlot(std::uint32_t key) const {
    int slot = static_cast<int>((key ^ (key >> 4)) % kSize);
    // 2 has order 4004 modulo 8009, so one probe sequence never meets more
    // than half the slots; past that it only repeats itself.
    for (int probes = 0; probes <= kSize / 2 + 1; ++probes) {
      const std::uint32_t v = slots_[slot];
      if (v >= kFree || (v >> 12) == key) return slot;
      slot = slot == 0 ? kSize - 1 : (slot >= (kSize + 1) / 2 ? 2 * slot - kSize : 2 * slot);
    }
    return -1;
  }
  bool IsFree(int slot) const { return slots_[slot] >= kFree; }
  unsigned CodeAt(int slot) const { return slots_[slot] & 0xFFF; }
  void Put(int slot, std::uint32_t key, unsigned code) { slots_[slot] = (key << 12) | code; }

 private:
  static constexpr std::uint32_t kFree = 0xFFFFF000u;
  std::unique_ptr<std::uint32_t[]> slots_;
};

class TLZWEncoder : public TGIFEncoder {
 protected:
  void CompressPixels() override;

 private:
  void OutputCode(unsigned code);
  void ClearTable();

  THashTable table_;
  unsigned next_code_ = 0;
  // A small cache in front of the hash table: per code and low pixel bits,
  // the extension last met, as (pixel + 1) << 16 | code (0: none). Strings
  // of one colour, and pictures of up to four colours, then mostly skip the
  // hash; the table stays the dictionary, so the codes are the same.
  static constexpr int kCacheWays = 4;
  std::unique_ptr<std::uint32_t[]> child_cache_{new std::uint32_t[std::size_t{4096} * kCacheWays]};
};

}  // namespace rf::gif
