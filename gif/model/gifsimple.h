// A simple way to write a GIF: describe the picture as plain data (logical
// screen, global colour table, frames of colour indexes, optional graphic
// control and loop extensions) and get the stream's bytes. The build tools
// (table pictures, icons, animations) write their pictures through this.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gif/base/gifcolor.h"
#include "gif/base/gifsettings.h"

namespace rf::gif {

class TGIFImage;

// The graphic control extension written in front of a frame.
struct SimpleControl {
  int delay = 0;     // hundredths of a second
  int disposal = 0;  // 0 to 7
  bool user_input = false;
  int transparent = -1;  // transparent colour index, or -1 for none
};

struct SimpleFrame {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;     // width × height indexes, rows top to bottom
  std::vector<TGIFColor> local_colors;  // empty: the frame uses the global table
  bool interlaced = false;
  std::optional<SimpleControl> control;
  std::vector<std::string> comments;  // written as one comment extension, a line each
};

struct SimplePicture {
  int width = 0;  // logical screen
  int height = 0;
  std::vector<TGIFColor> colors;  // global colour table (1 to 256 entries, or none)
  std::uint8_t background = 0;
  std::uint8_t aspect = 0;
  // Loop count of a "NETSCAPE2.0" extension in front of the first frame
  // (0: forever); none when unset.
  std::optional<std::uint16_t> loop_count;
  TGIFCompression compression = gcLZW;
  std::vector<SimpleFrame> frames;
};

// The picture as a TGIFImage: header with the global colour map, frames with
// their local maps, pixels and extensions (the loop extension first, then
// the graphic control extension, then the comment). Raises
// std::invalid_argument for a frame whose pixel count does not match its
// size, a colour table of more than 256 entries or values beyond 16 bits.
std::unique_ptr<TGIFImage> BuildSimpleImage(const SimplePicture& picture);

// The picture as a GIF stream: BuildSimpleImage, then TGIFImage::SaveToStream.
// Raises GIFException "Unsupported GIF version" without frames and "Color
// not in color table" for a pixel beyond the frame's table.
std::vector<std::uint8_t> SaveSimplePicture(const SimplePicture& picture);

// A still picture: one full-size frame at (0, 0) with a graphic control
// extension (no transparency, delay 0), the colours as the global table,
// LZW coded.
SimplePicture StillPicture(int width, int height, std::vector<TGIFColor> colors,
                           std::vector<std::uint8_t> pixels);

}  // namespace rf::gif
