#include "gif/base/geometry.h"

#include <algorithm>
#include <cstdint>

namespace rf::gif {

int MulDivRound(int value, int numerator, int denominator) {
  if (denominator == 0) return value;
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t divisor = denominator < 0 ? -std::int64_t{denominator} : denominator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t quotient = ((product < 0 ? -product : product) + divisor / 2) / divisor;
  // MulDiv answers -1 when the result does not fit; the still frames were
  // placed by MulDiv, so both paths keep its answer.
  if (quotient > 2147483647) return -1;
  return static_cast<int>(negative ? -quotient : quotient);
}

TGIFRect PlaceFrame(const TGIFRect& rect, int screen_w, int screen_h, int left, int top, int width,
                    int height) {
  const int rw = rect.Width();
  const int rh = rect.Height();
  const int sw = screen_w > 0 ? screen_w : left + width;
  const int sh = screen_h > 0 ? screen_h : top + height;
  return {rect.left + MulDivRound(left, rw, sw), rect.top + MulDivRound(top, rh, sh),
          rect.left + MulDivRound(left + width, rw, sw),
          rect.top + MulDivRound(top + height, rh, sh)};
}

std::vector<TGIFRect> TileRects(const TGIFRect& rect, int tile_w, int tile_h) {
  std::vector<TGIFRect> tiles;
  if (tile_w <= 0 || tile_h <= 0) return tiles;
  for (int y = rect.top; y < rect.bottom; y += tile_h) {
    for (int x = rect.left; x < rect.right; x += tile_w) {
      tiles.push_back({x, y, std::min(x + tile_w, rect.right), std::min(y + tile_h, rect.bottom)});
    }
  }
  return tiles;
}

}  // namespace rf::gif
