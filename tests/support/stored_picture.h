// A picture of the module's resources as the source tree stores it, decoded
// by the module's GIF reader, to compare with what a window shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rf::test {

// RGB colours, row by row; empty where the file is missing.
struct Picture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A stored picture property (the picture class's name with its length
// byte, then the GIF stream), by its path in the source tree.
Picture StoredPictureFile(const std::string& relative_path);

}  // namespace rf::test
