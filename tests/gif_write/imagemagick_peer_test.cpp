// Pictures written by this codec, read by ImageMagick: the same pixels.
// ImageMagick is a reader of its own design, so this catches streams that
// only a decoder like ours would accept.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "gif/model/gifsimple.h"

namespace rf::gif {
namespace {

std::string FindConvert() {
  for (const char* path : {"/usr/bin/convert", "/usr/local/bin/convert"})
    if (std::filesystem::exists(path)) return path;
  return {};
}

// The first frame as RGB bytes, as ImageMagick decodes it.
std::vector<std::uint8_t> DecodeWithImageMagick(const std::string& convert,
                                                const std::vector<std::uint8_t>& gif) {
  const auto dir = std::filesystem::temp_directory_path();
  const std::string in = (dir / ("rf-im-" + std::to_string(::getpid()) + ".gif")).string();
  std::ofstream(in, std::ios::binary)
      .write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
  const std::string command = convert + " '" + in + "[0]' -depth 8 rgb:- 2>/dev/null";
  std::vector<std::uint8_t> out;
  if (FILE* p = popen(command.c_str(), "r")) {
    std::uint8_t buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.insert(out.end(), buffer, buffer + n);
    pclose(p);
  }
  std::filesystem::remove(in);
  return out;
}

SimplePicture Picture(int width, int height, int colors, bool interlaced, TGIFCompression coder,
                      unsigned seed) {
  SimplePicture pic;
  pic.width = width;
  pic.height = height;
  for (int i = 0; i < colors; ++i)
    pic.colors.push_back({static_cast<std::uint8_t>(i * 37),
                          static_cast<std::uint8_t>(255 - i * 11),
                          static_cast<std::uint8_t>(i * 5)});
  pic.compression = coder;
  SimpleFrame f;
  f.width = width;
  f.height = height;
  f.interlaced = interlaced;
  std::mt19937 random(seed);
  // Runs and noise, so both coders meet long strings and short ones.
  for (int i = 0; i < width * height;) {
    const int run = static_cast<int>(random() % 40) + 1;
    const auto value = static_cast<std::uint8_t>(random() % colors);
    for (int k = 0; k < run && i < width * height; ++k, ++i) f.pixels.push_back(value);
  }
  pic.frames.push_back(std::move(f));
  return pic;
}

TEST(ImageMagickPeer, ReadsOurPicturesWithTheSamePixels) {
  const std::string convert = FindConvert();
  if (convert.empty()) GTEST_SKIP() << "ImageMagick (convert) is not installed";
  struct Case {
    int width, height, colors;
    bool interlaced;
    TGIFCompression coder;
  };
  const Case cases[] = {{37, 23, 2, false, gcLZW},    {64, 64, 16, true, gcLZW},
                        {255, 97, 256, false, gcLZW}, {100, 50, 7, false, gcRLE},
                        {289, 163, 5, true, gcRLE},   {1, 1, 2, false, gcLZW}};
  unsigned seed = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + ", " +
                 std::to_string(c.colors) + " colours, " + (c.coder == gcRLE ? "RLE" : "LZW") +
                 (c.interlaced ? ", interlaced" : ""));
    const SimplePicture pic = Picture(c.width, c.height, c.colors, c.interlaced, c.coder, seed++);
    const auto rgb = DecodeWithImageMagick(convert, SaveSimplePicture(pic));
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(c.width * c.height * 3));
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < pic.frames[0].pixels.size(); ++i) {
      const TGIFColor& want = pic.colors[pic.frames[0].pixels[i]];
      if (rgb[i * 3] != want.red || rgb[i * 3 + 1] != want.green || rgb[i * 3 + 2] != want.blue)
        ++wrong;
    }
    EXPECT_EQ(wrong, 0u);
  }
}

}  // namespace
}  // namespace rf::gif
