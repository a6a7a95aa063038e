// giflib as the reference decoder and encoder the writer is checked against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rf::gif::test {

struct PeerFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  std::vector<std::uint8_t> local_colors;  // RGB triples as stored
  std::vector<std::uint8_t> pixels;        // rows top to bottom
};

struct PeerPicture {
  int width = 0, height = 0;
  int color_resolution = 0;
  std::vector<std::uint8_t> global_colors;  // RGB triples as stored
  std::vector<PeerFrame> frames;
  int loop_count = -1;   // from a NETSCAPE2.0 extension, -1 without
  int transparent = -1;  // of the first frame's graphic control extension
  int delay = -1;
};

// Decodes a whole stream with giflib's DGifSlurp; the error text when it fails.
PeerPicture DecodeWithGiflib(const std::vector<std::uint8_t>& stream, std::string* error = nullptr);

// Encodes one frame with giflib: global table of the given RGB triples.
std::vector<std::uint8_t> EncodeWithGiflib(int width, int height,
                                           const std::vector<std::uint8_t>& colors,
                                           const std::vector<std::uint8_t>& pixels,
                                           bool interlaced = false);

}  // namespace rf::gif::test
