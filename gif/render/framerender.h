// Turning a frame's colour indexes into what the drawing code hands to the
// system: an 8-bit device-independent bitmap as an in-memory BMP file, and a
// monochrome mask of the transparent pixels. Portable: the Win32 drawing
// makes its bitmaps from these bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <span>
#include <vector>

#include "gif/base/palette.h"

namespace rf::gif {

class TGIFColorMap;
class TGIFImage;
class TGIFSubImage;
struct TGIFColor;

// Sizes of the pieces of the BMP the renderer makes.
inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::size_t kBmpColorTableSize = std::size_t{256} * 4;
inline constexpr std::size_t kBmpBitsOffset =
    kBmpFileHeaderSize + kBmpInfoHeaderSize + kBmpColorTableSize;

// The memory for a frame's bits could not be had.
class TDIBAllocationError : public std::bad_alloc {
 public:
  const char* what() const noexcept override { return "Failed to allocate memory for GIF DIB"; }
};

// Bytes of one 8-bit row in the DIB (padded to 32 bits) and of one mask row
// (padded to 16 bits).
inline std::size_t DibStride(int width) {
  return (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
}
inline std::size_t MaskStride(int width) {
  return ((static_cast<std::size_t>(width) + 15) / 16) * 2;
}

// An empty 8-bit BMP of the given size: file header, info header (256
// colours used, `palette.size()` important), all 256 colour table entries
// (those beyond the palette black), zero bits, rows bottom-up. Raises
// GIFException "Invalid image dimensions" for a zero or negative size and
// TDIBAllocationError when the bits cannot be had.
std::vector<std::uint8_t> MakeBmp8(int width, int height, std::span<const PaletteEntry> palette);
// Row y (0 = top) of the bits of a BMP made by MakeBmp8.
std::uint8_t* BmpRow(std::vector<std::uint8_t>& bmp, int width, int height, int y);

// Mask rows, top to bottom, MSB first: bit 1 where the pixel equals
// transparent. Answers whether any bit was set.
bool BuildMaskRows(const std::uint8_t* pixels, int width, int height, std::uint8_t transparent,
                   std::vector<std::uint8_t>& mask);

// Floyd–Steinberg onto the cube, serpentine (row 0 left to right), from a
// table of colours (an index beyond the table counts as black). Row y's
// indexes go to row(y), asked for in order from the top. Pixels equal to
// `transparent` (when >= 0) are written as the cube entry of their own table
// colour, so they all keep one index whatever the diffused error; they take
// part in the diffusion like any pixel.
void DitherToCube(const std::uint8_t* pixels, int width, int height,
                  std::span<const TGIFColor> colors, int transparent,
                  const std::function<std::uint8_t*(int y)>& row);

// A palette with the entries of a colour map, in order, each flagged
// no-collapse.
Palette ColorMapPalette(const TGIFColorMap& map);
// The cube as a palette, each entry flagged no-collapse.
Palette CubePalette();

// The picture's palette as first made: with dithering the cube; else from
// the global colour map; else (no global map) from the first frame's local
// map; an image without frames has none. Raises GIFException "No global or
// local color table defined" when neither the global map nor the first
// frame's local map has entries.
Palette MakePicturePalette(const TGIFImage& image, bool dither);
// A frame's palette as first made: with dithering the cube; else from its
// local map; else the picture palette (`picture`, or made as above when
// null).
Palette MakeFramePalette(const TGIFSubImage& frame, bool dither, const Palette* picture);

// What rendering a frame gives.
struct TFrameRendering {
  std::vector<std::uint8_t> bmp;   // empty for a frame of zero width or height
  std::vector<std::uint8_t> mask;  // mask rows; empty when no pixel is transparent
  bool mask_tried = false;         // the mask was built (and is not to be tried again)
};

// Makes a frame's bitmap: the frame palette as colour table; without
// dithering the pixel rows copied unchanged, with dithering the rows
// diffused onto the cube. Builds the mask when want_mask and the frame is
// transparent. Reports "Rendering..." progress to the frame's picture:
// stage 0, stage 1 every 32nd row, stage 2 at the end (100 %, or 0 % after
// a failure, with redraw-now = palette_modified).
TFrameRendering RenderFrame(const TGIFSubImage& frame, std::span<const PaletteEntry> palette,
                            bool dither, bool want_mask, bool palette_modified);

}  // namespace rf::gif
