#include "giflib_peer.h"
#include "tests/support/giflib_memory.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace rf::gif::test {

namespace {

int WriteToMemory(GifFileType* gif, const GifByteType* buf, int n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), buf, buf + n);
  return n;
}

std::vector<std::uint8_t> Triples(const ColorMapObject* map) {
  std::vector<std::uint8_t> rgb;
  if (map == nullptr) return rgb;
  for (int i = 0; i < map->ColorCount; ++i) {
    rgb.push_back(map->Colors[i].Red);
    rgb.push_back(map->Colors[i].Green);
    rgb.push_back(map->Colors[i].Blue);
  }
  return rgb;
}

}  // namespace

PeerPicture DecodeWithGiflib(const std::vector<std::uint8_t>& stream, std::string* error) {
  rf::test::GiflibMemorySource source(stream);
  int err = 0;
  GifFileType* gif = source.Open(&err);
  PeerPicture pic;
  if (gif == nullptr) {
    if (error) *error = GifErrorString(err);
    return pic;
  }
  if (DGifSlurp(gif) != GIF_OK) {
    if (error) *error = GifErrorString(gif->Error);
    DGifCloseFile(gif, &err);
    return pic;
  }
  pic.width = gif->SWidth;
  pic.height = gif->SHeight;
  pic.color_resolution = gif->SColorResolution;
  pic.global_colors = Triples(gif->SColorMap);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& img = gif->SavedImages[i];
    PeerFrame f;
    f.left = img.ImageDesc.Left;
    f.top = img.ImageDesc.Top;
    f.width = img.ImageDesc.Width;
    f.height = img.ImageDesc.Height;
    f.interlaced = img.ImageDesc.Interlace;
    f.local_colors = Triples(img.ImageDesc.ColorMap);
    // DGifSlurp puts interlaced rows in place itself.
    f.pixels.assign(img.RasterBits, img.RasterBits + static_cast<std::size_t>(f.width) * f.height);
    if (i == 0) {
      GraphicsControlBlock gcb;
      if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) {
        pic.transparent = gcb.TransparentColor;
        pic.delay = gcb.DelayTime;
      }
    }
    for (int e = 0; e < img.ExtensionBlockCount; ++e) {
      const ExtensionBlock& b = img.ExtensionBlocks[e];
      if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
          std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0 && e + 1 < img.ExtensionBlockCount) {
        const ExtensionBlock& sub = img.ExtensionBlocks[e + 1];
        if (sub.ByteCount >= 3 && sub.Bytes[0] == 1)
          pic.loop_count = sub.Bytes[1] | sub.Bytes[2] << 8;
      }
    }
    pic.frames.push_back(std::move(f));
  }
  DGifCloseFile(gif, &err);
  return pic;
}

std::vector<std::uint8_t> EncodeWithGiflib(int width, int height,
                                           const std::vector<std::uint8_t>& colors,
                                           const std::vector<std::uint8_t>& pixels,
                                           bool interlaced) {
  std::vector<std::uint8_t> out;
  int err = 0;
  GifFileType* gif = EGifOpen(&out, WriteToMemory, &err);
  if (gif == nullptr) throw std::runtime_error("EGifOpen failed");
  const int count = static_cast<int>(colors.size() / 3);
  int size = 2;
  while (size < count) size *= 2;
  std::vector<GifColorType> entries(static_cast<std::size_t>(size));
  for (int i = 0; i < count; ++i) {
    entries[i] = {colors[3 * i], colors[3 * i + 1], colors[3 * i + 2]};
  }
  ColorMapObject* map = GifMakeMapObject(size, entries.data());
  EGifSetGifVersion(gif, false);
  if (EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map) != GIF_OK ||
      EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr) != GIF_OK) {
    GifFreeMapObject(map);
    EGifCloseFile(gif, &err);
    throw std::runtime_error("giflib refused the picture");
  }
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  const int passes = interlaced ? 4 : 1;
  for (int p = 0; p < passes; ++p) {
    for (int y = interlaced ? start[p] : 0; y < height; y += interlaced ? step[p] : 1) {
      auto* row = const_cast<GifPixelType*>(pixels.data() + static_cast<std::size_t>(y) * width);
      EGifPutLine(gif, row, width);
    }
  }
  GifFreeMapObject(map);
  EGifCloseFile(gif, &err);
  return out;
}

}  // namespace rf::gif::test
