// The first byte picks the paint options and the destination size; the
// rest is the GIF stream.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "gif/anim/rgbacompose.h"
#include "gif/gifimage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t mode = data[0];
  rf::gif::TGIFImage image;
  image.MaxFramePixels = 1 << 16;
  image.MaxImagePixels = 1 << 18;
  try {
    image.LoadFromBytes({data + 1, size - 1});
  } catch (const std::exception&) {
  }
  if (image.Empty()) return 0;
  // The destination: the screen's size, or stretched to another one.
  int w = image.Width() > 0 ? image.Width() : 16;
  int h = image.Height() > 0 ? image.Height() : 16;
  if ((mode & 0x08) != 0) {
    w = 1 + (mode >> 4);
    h = 1 + ((mode >> 2) & 3) * 5;
  }
  if (w > 256 || h > 256) return 0;
  rf::gif::TRGBAPlayOptions options;
  options.transparent = (mode & 0x01) != 0;
  options.tile = (mode & 0x02) != 0;
  options.clear_on_repeat = (mode & 0x04) != 0;
  options.run.repeat_forever = (mode & 0x80) != 0;
  options.max_frames = 32;
  rf::gif::PlayToRGBA(image, rf::gif::TRGBAImage(w, h, 0x11223344), options, 0x000000FF);
  return 0;
}
