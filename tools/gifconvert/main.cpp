// gifconvert: turns a picture (a BMP file, or a GIF) into a GIF whose
// frames are reduced with a chosen method and dither mode.
//
//   gifconvert [-m method] [-d dither] [-b bits] [-c lzw|rle] [-a] input output.gif
//
//   -m  reduction method 0..9 (default 6, the 216-colour cube)
//   -d  dither mode 0..6 (default 0, nearest colour)
//   -b  bits for method 7 (1..8, default 8)
//   -p  file of a palette for method 9: "r g b" a line
//   -c  coder of the frames (default lzw)
//   -a  pixels of a 32-bit BMP with alpha below 128 become transparent
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "gif/model/gifitem.h"
#include "tools/gifconvert/gifconvert.h"

namespace {

int Usage() {
  std::cerr << "usage: gifconvert [-m method 0-9] [-d dither 0-6] [-b bits 1-8] [-p palette.txt]\n"
               "                  [-c lzw|rle] [-a] input.bmp|input.gif output.gif\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  rf::gif::ConvertOptions options;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "-m") {
      options.method = static_cast<rf::gif::TColorReduction>(std::atoi(value().c_str()));
    } else if (a == "-d") {
      options.dither_mode = static_cast<rf::gif::TDitherMode>(std::atoi(value().c_str()));
    } else if (a == "-b") {
      options.bits = std::atoi(value().c_str());
    } else if (a == "-c") {
      options.run_length = value() == "rle";
    } else if (a == "-a") {
      options.alpha_transparency = true;
    } else if (a == "-p") {
      std::ifstream in(value());
      int r, g, b;
      while (in >> r >> g >> b)
        options.palette.push_back({static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                   static_cast<std::uint8_t>(b), 0});
    } else if (!a.empty() && a[0] == '-') {
      return Usage();
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return Usage();
  try {
    std::vector<std::uint8_t> input = rf::gif::ReadWholeFile(files[0]);
    std::vector<std::uint8_t> output = rf::gif::ConvertPicture(input, options);
    rf::gif::WriteWholeFile(files[1], output);
  } catch (const std::exception& e) {
    std::cerr << "gifconvert: " << files[0] << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
