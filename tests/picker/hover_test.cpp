#include "picker/Hover.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "chardata/char_store.h"

namespace rf::picker {
namespace {

using namespace chardata;

class HoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetStore();
    // Every entry names its own cell, so a hover shows where it landed.
    for (TCharTableKind kind : kAllCharTableKinds) {
      for (int i = 0; i < TableEntryCount(kind); ++i) {
        TCharEntry& e = TableEntry(kind, i);
        e.DecRef.Assign("d" + std::to_string(i));
        e.DecDigits.Assign(std::to_string(i));
        e.HexDigits.Assign("h" + std::to_string(i));
        e.EntityName.Assign("n" + std::to_string(i));
      }
    }
  }
  void TearDown() override { ResetStore(); }

  static int IndexAt(TCharTableKind kind, int x, int y) {
    const auto t = HoverDisplay(kind, x, y);
    return t ? std::stoi(t->number) : -1;
  }
};

TEST_F(HoverTest, EdgesOfEveryPictureKind) {
  struct Case {
    TCharTableKind kind;
    int x, y, index;  // -1: fields cleared
  };
  const Case cases[] = {
      {ctANSI, 1, 50, -1},         {ctANSI, 50, 1, -1},         {ctANSI, 2, 2, 0},
      {ctANSI, 287, 191, 127},     {ctANSI, 288, 100, -1},      {ctANSI, 100, 192, -1},
      {ctANSI, 100, 195, -1},      {ctANSI, 17, 23, 0},         {ctANSI, 18, 2, 8},
      {ctANSI, 2, 24, 1},          {ctANSI, 20, 30, 9},         {ctANSI, -5, -5, -1},
      {ctANSI, 100000, 50, -1},    {ctISO8859_1, 20, 30, 7},    {ctISO8859_1, 2, 26, 0},
      {ctISO8859_1, 2, 27, 1},     {ctISO8859_1, 40, 60, 14},   {ctISO8859_1, 287, 161, 95},
      {ctISO8859_1, 287, 162, -1}, {ctISO8859_16, 288, 10, -1}, {ctISO8859_8, 2, 168, -1},
      {ctTechnik, 10, 167, 6},     {ctTechnik, 10, 168, 7},     {ctTechnik, 10, 170, 7},
      {ctTechnik, 89, 191, 39},    {ctTechnik, 90, 191, -1},    {ctGrafik, 197, 191, 87},
      {ctGrafik, 198, 191, -1},    {ctCP437, 359, 191, 159},    {ctCP850, 359, 191, 159},
      {ctCP850, 360, 191, -1},     {ctCP437, 2, 191, 7},        {ctCP437, 18, 2, 8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IndexAt(c.kind, c.x, c.y), c.index)
        << SectionName(c.kind) << " at " << c.x << "," << c.y;
  }
}

TEST_F(HoverTest, CentreOfEveryCellHitsThatCell) {
  for (TCharTableKind kind : kAllCharTableKinds) {
    const PictureParams& p = PictureOf(kind);
    ASSERT_EQ(p.kind, kind);
    EXPECT_EQ((p.width - 1) / kCellWidth * p.rows, TableEntryCount(kind)) << p.picture;
    for (int i = 0; i < TableEntryCount(kind); ++i) {
      const int x = kCellWidth * (i / p.rows) + 9;
      const int y = p.cell_height * (i % p.rows) + p.cell_height / 2;
      ASSERT_EQ(CellIndexAt(p, x, y), i) << p.picture;
    }
  }
}

// The hit testing and the rectangles agree: every pixel of a cell's box
// that is not on the frame hits that cell, and the boxes tile the picture.
TEST_F(HoverTest, CellBoundsTileThePictureAsTheHitTestingDoes) {
  for (TCharTableKind kind : kAllCharTableKinds) {
    const PictureParams& p = PictureOf(kind);
    int area = 0;
    for (int i = 0; i < TableEntryCount(kind); ++i) {
      const CellBox b = CellBounds(p, i);
      area += (b.right - b.left) * (b.bottom - b.top);
      for (int y = std::max(b.top, 2); y < b.bottom; ++y) {
        for (int x = std::max(b.left, 2); x < b.right; ++x)
          ASSERT_EQ(CellIndexAt(p, x, y), i) << p.picture << " " << x << "," << y;
      }
    }
    EXPECT_EQ(area, (p.width - 1) * (p.height - 1)) << p.picture;
  }
}

TEST_F(HoverTest, UserFormsFallBackToTemplatesOfTheSameEntry) {
  TableEntry(ctISO8859_1, 7).User2.Assign("own");
  DefaultTemplate1.Assign("&#\xA7");
  DefaultTemplate2.Assign("x\xA7y");
  const auto t = HoverDisplay(ctISO8859_1, 20, 30);  // entry 7
  ASSERT_TRUE(t);
  EXPECT_EQ(t->number, "7");
  EXPECT_EQ(t->dec, "d7");
  EXPECT_EQ(t->user1, "&#7");
  EXPECT_EQ(t->user2, "own");  // the entry's own form wins over a template
  EXPECT_EQ(t->user3, "");     // neither form nor template
  DefaultTemplate3.Assign("[\xA7]");
  EXPECT_EQ(HoverDisplay(ctISO8859_1, 20, 30)->user3, "[n7]");
}

TEST_F(HoverTest, PictureNamesAreTheControls) {
  EXPECT_EQ(PictureOf(ctCP437).picture, "ICP734");
  EXPECT_EQ(PictureOf(ctISO8859_13).picture, "IISO8859_13");
  EXPECT_EQ(PictureOf(ctGrafik).width, 199);
}

}  // namespace
}  // namespace rf::picker
