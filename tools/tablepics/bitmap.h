// A one-bit picture: the glyphs of the font and the ink of a cell.
#pragma once

#include <cstdint>
#include <vector>

namespace rf::tablepics {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height)
      : width_(width), height_(height), bits_(static_cast<std::size_t>(width * height)) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Outside the bitmap nothing is set.
  bool Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ && bits_[Index(x, y)] != 0;
  }
  void Set(int x, int y, bool on = true) { bits_[Index(x, y)] = on ? 1 : 0; }
  bool Empty() const;

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y * width_ + x); }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> bits_;
};

// The smallest rectangle holding every set pixel; all zero for an empty bitmap.
struct InkBox {
  int left = 0;
  int top = 0;
  int right = -1;  // inclusive
  int bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};
InkBox InkBoxOf(const Bitmap& bitmap);

}  // namespace rf::tablepics
