#include "code_reader.h"

#include <stdexcept>
#include <string>

namespace rf::gif::test {

CodeTrace TraceImageData(const std::uint8_t* data, std::size_t size) {
  CodeTrace t;
  if (size == 0) throw std::runtime_error("no image data");
  t.min_code_size = data[0];
  std::vector<std::uint8_t> bytes;
  std::size_t pos = 1;
  for (;;) {
    if (pos >= size) throw std::runtime_error("image data without terminator");
    const int n = data[pos++];
    if (n == 0) break;
    if (pos + n > size) throw std::runtime_error("sub-block runs past the data");
    t.block_sizes.push_back(n);
    bytes.insert(bytes.end(), data + pos, data + pos + n);
    pos += n;
  }
  t.consumed = pos;

  const int clear = 1 << t.min_code_size;
  const int end = clear + 1;
  std::vector<std::vector<std::uint8_t>> table;
  auto reset = [&] {
    table.assign(static_cast<std::size_t>(clear + 2), {});
    for (int i = 0; i < clear; ++i) table[i] = {static_cast<std::uint8_t>(i)};
  };
  reset();
  int size_bits = t.min_code_size + 1;
  std::size_t bitpos = 0;
  int prev = -1;
  while (bitpos + size_bits <= bytes.size() * 8) {
    int code = 0;
    for (int i = 0; i < size_bits; ++i, ++bitpos) {
      code |= ((bytes[bitpos / 8] >> (bitpos % 8)) & 1) << i;
    }
    t.codes.push_back(code);
    if (code == clear) {
      reset();
      size_bits = t.min_code_size + 1;
      prev = -1;
      continue;
    }
    if (code == end) {
      t.ended = true;
      break;
    }
    std::vector<std::uint8_t> entry;
    if (code < static_cast<int>(table.size()) && !table[code].empty()) {
      entry = table[code];
      if (prev >= 0 && table.size() < 4096) {
        auto added = table[prev];
        added.push_back(entry[0]);
        table.push_back(std::move(added));
      }
    } else if (code == static_cast<int>(table.size()) && prev >= 0) {
      entry = table[prev];
      entry.push_back(entry[0]);
      table.push_back(entry);
    } else {
      throw std::runtime_error("code " + std::to_string(code) + " not in the table");
    }
    t.pixels.insert(t.pixels.end(), entry.begin(), entry.end());
    prev = code;
    if (static_cast<int>(table.size()) == (1 << size_bits) && size_bits < 12) ++size_bits;
  }
  return t;
}

}  // namespace rf::gif::test
