// Hand-made GIF streams for the reading tests: the pieces of a stream, a bit
// packer for chosen code sequences, and a plain LZW encoder.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace rf::gif::test {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Str(const std::string& text);

// Signature and version, screen descriptor, and a global table of
// `colors` entries (a power of two from 2 to 256; 0 for none) holding
// (i, i, i).
Bytes Header(int width, int height, int colors = 4, std::uint8_t background = 0,
             const std::string& signature = "GIF89a");
// Image descriptor with the separator.
Bytes Descriptor(int left, int top, int width, int height, std::uint8_t packed = 0);
// Data cut into sub-blocks of at most block_size bytes, then the terminator.
Bytes SubBlocks(const Bytes& data, std::size_t block_size = 255);
Bytes GraphicControl(int disposal, int delay, bool transparent, std::uint8_t index);
Bytes Comment(const std::string& text);
Bytes Loop(int count, const std::string& id = "NETSCAPE2.0");

// Codes packed least significant bit first, each with its own width.
class CodePacker {
 public:
  void Put(int code, int bits);
  Bytes Finish() const;

 private:
  Bytes bytes_;
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

struct EncodeOptions {
  int min_code_size = 2;
  std::size_t block_size = 255;
  int clear_every = 0;              // codes between forced clears (0: only when full)
  bool no_clear_when_full = false;  // keep going with a full table
  bool end_code = true;
};

// The image data of a frame (minimum code size byte, sub-blocks,
// terminator) as a standard encoder writes it.
Bytes Lzw(const Bytes& pixels, const EncodeOptions& options = {});

// A whole one-frame picture: header with a 2^min_code_size table,
// descriptor, data, trailer.
Bytes SingleFrame(int width, int height, const Bytes& pixels, const EncodeOptions& options = {},
                  bool interlaced = false);

}  // namespace rf::gif::test
