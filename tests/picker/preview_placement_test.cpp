#include "picker/preview_placement.h"

#include <gtest/gtest.h>

namespace rf::picker {

void PrintTo(const ScreenRect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const ScreenRect& r, const ScreenRect& area) {
  return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
         r.bottom <= area.bottom;
}

constexpr ScreenRect kWork{0, 0, 1024, 740};  // a task bar below
constexpr int kW = 200, kH = 150;

ScreenRect CellAt(int left, int top) {
  return {left, top, left + 17, top + 26};
}

TEST(PreviewPlacement, NeverOverTheCellAlwaysInTheWorkArea) {
  struct Case {
    const char* where;
    ScreenRect cell;
    ScreenRect expected;
  };
  const Case cases[] = {
      {"middle: below, a little left of the pointer", CellAt(500, 300), {500, 330, 700, 480}},
      {"bottom edge: above", CellAt(500, 700), {500, 546, 700, 696}},
      {"right edge: below, slid left", CellAt(1005, 300), {824, 330, 1024, 480}},
      {"left edge: below, slid right", CellAt(0, 300), {0, 330, 200, 480}},
      {"bottom right corner: above, slid left", CellAt(1005, 712), {824, 558, 1024, 708}},
      {"top left corner: below", CellAt(0, 0), {0, 30, 200, 180}},
  };
  for (const Case& c : cases) {
    const ScreenPoint pointer{c.cell.left + 8, c.cell.top + 8};
    const ScreenRect r = PlacePreview(c.cell, pointer, kW, kH, kWork);
    EXPECT_EQ(r, c.expected) << c.where;
    EXPECT_FALSE(Overlaps(r, c.cell)) << c.where;
    EXPECT_TRUE(Inside(r, kWork)) << c.where;
    EXPECT_EQ(r.Width(), kW);
    EXPECT_EQ(r.Height(), kH);
  }
}

TEST(PreviewPlacement, ToTheSideWhenNeitherAboveNorBelowFits) {
  // A work area hardly taller than the popup: beside the cell.
  const ScreenRect work{0, 0, 800, 160};
  const ScreenRect cell = CellAt(300, 60);
  const ScreenRect r = PlacePreview(cell, {308, 68}, kW, kH, work);
  EXPECT_EQ(r, (ScreenRect{321, 10, 521, 160}));
  // At the right edge, on the left side.
  const ScreenRect right = CellAt(780, 60);
  EXPECT_EQ(PlacePreview(right, {788, 68}, kW, kH, work), (ScreenRect{576, 10, 776, 160}));
}

TEST(PreviewPlacement, AWorkAreaSmallerThanThePopupStillHoldsItsCorner) {
  const ScreenRect work{100, 50, 250, 150};
  const ScreenRect r = PlacePreview(CellAt(150, 80), {158, 88}, kW, kH, work);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  // A monitor to the left of the primary one has negative coordinates.
  const ScreenRect left_monitor{-1280, 0, 0, 1024};
  const ScreenRect cell = CellAt(-17, 500);
  const ScreenRect placed = PlacePreview(cell, {-9, 508}, kW, kH, left_monitor);
  EXPECT_TRUE(Inside(placed, left_monitor));
  EXPECT_FALSE(Overlaps(placed, cell));
}

}  // namespace
}  // namespace rf::picker
