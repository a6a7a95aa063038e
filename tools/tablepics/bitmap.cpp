#include "tools/tablepics/bitmap.h"

#include <algorithm>

namespace rf::tablepics {

bool Bitmap::Empty() const {
  return std::all_of(bits_.begin(), bits_.end(), [](std::uint8_t b) { return b == 0; });
}

InkBox InkBoxOf(const Bitmap& bitmap) {
  InkBox box{bitmap.Width(), bitmap.Height(), -1, -1};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Get(x, y)) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
  if (box.right < 0) return InkBox{};
  return box;
}

}  // namespace rf::tablepics
