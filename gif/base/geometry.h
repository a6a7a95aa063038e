// The codec's one rectangle and where frames land on a drawing rectangle:
// placed in proportion to the logical screen, or repeated as tiles. Still
// frames and animation frames are placed by the same code, so the two can
// never drift apart.
#pragma once

#include <vector>

namespace rf::gif {

// Edges in pixels, right and bottom exclusive. The Win32 room converts it
// to RECT at the edge.
struct TGIFRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TGIFRect&, const TGIFRect&) = default;
};

// value × numerator / denominator rounded to the nearest, halves away from
// zero, as the system's MulDiv (also its -1 for a result beyond 32 bits); a
// zero denominator leaves value unscaled.
int MulDivRound(int value, int numerator, int denominator);

// Where a frame lands in rect when the logical screen (screen_w ×
// screen_h; a zero size counts as the frame's extent) is mapped onto it.
TGIFRect PlaceFrame(const TGIFRect& rect, int screen_w, int screen_h, int left, int top, int width,
                    int height);
// The tiles of a frame repeated at its own size from rect's top-left corner,
// the last row and column cut at the rectangle.
std::vector<TGIFRect> TileRects(const TGIFRect& rect, int tile_w, int tile_h);

}  // namespace rf::gif
