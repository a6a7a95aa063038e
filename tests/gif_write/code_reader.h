// A plain LZW decoder for the tests: reads one frame's image data (minimum
// code size byte, sub-blocks, terminator) and tells which codes it held and
// which pixels they stand for, in stream order (no de-interlacing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rf::gif::test {

struct CodeTrace {
  int min_code_size = 0;
  std::vector<int> codes;            // every code, clear and end codes included
  std::vector<std::uint8_t> pixels;  // in stream order
  std::vector<int> block_sizes;      // sizes of the data sub-blocks
  bool ended = false;                // an end code was met
  std::size_t consumed = 0;          // bytes up to and including the terminator
};

CodeTrace TraceImageData(const std::uint8_t* data, std::size_t size);

}  // namespace rf::gif::test
