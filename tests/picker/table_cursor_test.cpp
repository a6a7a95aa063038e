#include "picker/table_cursor.h"

#include <gtest/gtest.h>

#include "chardata/char_store.h"

namespace rf::picker {
namespace {

using namespace chardata;
using K = CursorKey;

struct Move {
  int from;
  K key;
  int to;
};

// One table per picture geometry; cells run down each column, and an arrow
// at the top or bottom of a column never wraps into the next one.
struct Geometry {
  TCharTableKind kind;
  std::vector<Move> moves;
};

const std::vector<Geometry>& Geometries() {
  static const std::vector<Geometry> g = {
      // ANSI: 16 columns of 8.
      {ctANSI,
       {{0, K::kDown, 1},
        {0, K::kUp, 0},
        {0, K::kLeft, 0},
        {0, K::kRight, 8},
        {7, K::kDown, 7},
        {7, K::kRight, 15},
        {127, K::kRight, 127},
        {127, K::kDown, 127},
        {120, K::kRight, 120},
        {120, K::kUp, 120},
        {9, K::kRowStart, 1},
        {9, K::kRowEnd, 121},
        {127, K::kRowStart, 7},
        {50, K::kTableStart, 0},
        {50, K::kTableEnd, 127},
        {8, K::kUp, 8},
        {8, K::kLeft, 0}}},
      // ISO: 16 columns of 6.
      {ctISO8859_1,
       {{0, K::kRight, 6},
        {5, K::kDown, 5},
        {5, K::kRight, 11},
        {7, K::kLeft, 1},
        {95, K::kRight, 95},
        {95, K::kDown, 95},
        {90, K::kRight, 90},
        {90, K::kUp, 90},
        {14, K::kRowStart, 2},
        {14, K::kRowEnd, 92},
        {33, K::kTableStart, 0},
        {33, K::kTableEnd, 95}}},
      {ctISO8859_16, {{0, K::kTableEnd, 95}, {95, K::kRowStart, 5}}},
      // CP 437 and CP 850: 20 columns of 8.
      {ctCP437,
       {{0, K::kRight, 8},
        {159, K::kRight, 159},
        {152, K::kRight, 152},
        {152, K::kLeft, 144},
        {3, K::kRowEnd, 155},
        {155, K::kRowStart, 3},
        {1, K::kTableEnd, 159}}},
      {ctCP850, {{31, K::kDown, 31}, {32, K::kUp, 32}, {159, K::kTableStart, 0}}},
      // Technik: 5 columns of 8.
      {ctTechnik,
       {{0, K::kRight, 8},
        {39, K::kRight, 39},
        {32, K::kRight, 32},
        {39, K::kDown, 39},
        {25, K::kRowStart, 1},
        {25, K::kRowEnd, 33},
        {10, K::kTableEnd, 39}}},
      // Grafik: 11 columns of 8.
      {ctGrafik,
       {{0, K::kRight, 8},
        {87, K::kRight, 87},
        {80, K::kRight, 80},
        {87, K::kDown, 87},
        {48, K::kRowEnd, 80},
        {48, K::kRowStart, 0},
        {48, K::kTableEnd, 87}}},
  };
  return g;
}

TEST(TableCursor, MovesOfEveryPictureGeometry) {
  for (const Geometry& g : Geometries()) {
    const PictureParams& p = PictureOf(g.kind);
    for (const Move& m : g.moves)
      EXPECT_EQ(MoveCell(p, m.from, m.key), m.to)
          << p.picture << " from " << m.from << " key " << static_cast<int>(m.key);
  }
}

// Every cell of every table is reached by the arrows from cell 0, no move
// leaves the table, and the cursor's cell is where a hover at its centre
// lands: the fields show what they show for the pointer there.
TEST(TableCursor, EveryCellIsReachedAndItsCentreHitsIt) {
  for (TCharTableKind kind : kAllCharTableKinds) {
    const PictureParams& p = PictureOf(kind);
    const int count = CellCount(p);
    ASSERT_EQ(count, TableEntryCount(kind)) << p.picture;
    for (int cell = 0; cell < count; ++cell) {
      int at = 0;
      for (int c = 0; c < cell / p.rows; ++c) at = MoveCell(p, at, K::kRight);
      for (int r = 0; r < cell % p.rows; ++r) at = MoveCell(p, at, K::kDown);
      EXPECT_EQ(at, cell) << p.picture;
      for (K key : {K::kLeft, K::kRight, K::kUp, K::kDown, K::kRowStart, K::kRowEnd}) {
        const int to = MoveCell(p, cell, key);
        EXPECT_TRUE(to >= 0 && to < count) << p.picture << " " << cell;
        // Only the column or only the row changes.
        EXPECT_TRUE(to / p.rows == cell / p.rows || to % p.rows == cell % p.rows);
      }
      const CellPoint centre = CellCentre(p, cell);
      EXPECT_EQ(CellIndexAt(p, centre.x, centre.y), cell) << p.picture;
    }
  }
}

class TableCursorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetStore();
    for (TCharTableKind kind : kAllCharTableKinds)
      for (int i = 0; i < TableEntryCount(kind); ++i)
        TableEntry(kind, i).DecRef.Assign("&#" + std::to_string(100 + i) + ";");
  }
  void TearDown() override { ResetStore(); }
};

TEST_F(TableCursorsTest, FocusFindsTheLastCursorElseTheHoverElseTheFirstNumber) {
  // Cells without a number come first, as the no-break space of the ISO
  // tables and the empty first cells of CP 437 and Technik do.
  TableEntry(ctISO8859_1, 0).DecRef.Clear();
  TableEntry(ctISO8859_1, 1).DecRef.Clear();
  TableCursors cursors;
  EXPECT_FALSE(cursors.Cell(ctISO8859_1));
  EXPECT_EQ(cursors.Enter(ctISO8859_1), 2);
  EXPECT_EQ(cursors.Enter(ctANSI), 0);

  // A hover before the first focus decides; one after it does not.
  cursors.Hovered(ctGrafik, 40);
  cursors.Hovered(ctGrafik, 41);
  EXPECT_EQ(cursors.Enter(ctGrafik), 41);
  cursors.Hovered(ctGrafik, 7);
  EXPECT_EQ(cursors.Enter(ctGrafik), 41);

  // Each table keeps its own cursor.
  EXPECT_TRUE(cursors.Move(ctGrafik, K::kDown));
  EXPECT_TRUE(cursors.Move(ctGrafik, K::kRowEnd));
  EXPECT_EQ(cursors.Cell(ctGrafik), 82);
  EXPECT_FALSE(cursors.Move(ctGrafik, K::kRight));
  EXPECT_EQ(cursors.Enter(ctGrafik), 82);
  EXPECT_EQ(cursors.Cell(ctISO8859_1), 2);
  // A move before any focus starts from where the focus would put it.
  EXPECT_TRUE(cursors.Move(ctTechnik, K::kDown));
  EXPECT_EQ(cursors.Cell(ctTechnik), 1);
}

TEST_F(TableCursorsTest, ATableWithoutNumbersStartsAtItsFirstCell) {
  for (int i = 0; i < TableEntryCount(ctTechnik); ++i) TableEntry(ctTechnik, i).DecRef.Clear();
  TableCursors cursors;
  EXPECT_EQ(cursors.Enter(ctTechnik), 0);
}

}  // namespace
}  // namespace rf::picker
