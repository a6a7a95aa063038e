// The pieces the table pictures are drawn from: the font reader, the cell
// lists and the fitting of glyphs into cells.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

#include "tools/tablepics/cell_glyph.h"
#include "tools/tablepics/cell_list.h"
#include "tools/tablepics/unifont.h"

namespace rf::tablepics {
namespace {

Bitmap FromRows(std::initializer_list<const char*> rows) {
  const int width = static_cast<int>(std::string(*rows.begin()).size());
  Bitmap b(width, static_cast<int>(rows.size()));
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < width; ++x)
      if (row[x] == '#') b.Set(x, y);
    ++y;
  }
  return b;
}

std::string Rows(const Bitmap& b) {
  std::string out;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) out += b.Get(x, y) ? '#' : '.';
    out += '\n';
  }
  return out;
}

Unifont FontOf(const std::string& hex, const std::string& combining = "") {
  std::istringstream in(hex);
  Unifont font = Unifont::Read(in);
  std::istringstream list(combining);
  font.ReadCombining(list);
  return font;
}

TEST(Unifont, ReadsNarrowAndWideGlyphsTopDownLeftBitFirst) {
  const Unifont font = FontOf(
      "0041:80000000000000000000000000000001\r\n"
      "\n"
      "263A:8000000000000000000000000000000000000000000000000000000000000001\n");
  ASSERT_EQ(font.Size(), 2u);
  const Bitmap a = *font.Glyph(U'A');
  EXPECT_EQ(a.Width(), 8);
  EXPECT_EQ(a.Height(), 16);
  EXPECT_TRUE(a.Get(0, 0));
  EXPECT_TRUE(a.Get(7, 15));
  EXPECT_EQ(InkBoxOf(a).Width(), 8);
  const Bitmap smile = *font.Glyph(U'\u263A');
  EXPECT_EQ(smile.Width(), 16);
  EXPECT_TRUE(smile.Get(0, 0));
  EXPECT_TRUE(smile.Get(15, 15));
  EXPECT_FALSE(font.Glyph(U'B').has_value());
}

TEST(Unifont, RejectsMalformedLines) {
  for (const char* bad : {
           "0041",                                     // no colon
           "0041:00",                                  // neither 8 nor 16 pixels wide
           "zz41:00000000000000000000000000000000",    // bad code point
           "0041:0000000000000000000000000000000G",    // bad digit
           "110000:00000000000000000000000000000000",  // beyond Unicode
       }) {
    std::istringstream in(bad);
    EXPECT_THROW(Unifont::Read(in), std::runtime_error) << bad;
  }
}

TEST(NarrowInk, DropsDoubledColumnsNearestTheMiddleFirst) {
  const Bitmap wide = FromRows({
      "#..##..#",
      "#..##..#",
      "########",
  });
  EXPECT_EQ(Rows(NarrowInk(wide, 7)),
            "#..#..#\n"
            "#..#..#\n"
            "#######\n");
  // Narrowing further keeps both outer strokes.
  const Bitmap five = NarrowInk(wide, 5);
  EXPECT_EQ(InkBoxOf(five).Width(), 5);
  for (int y = 0; y < 3; ++y) {
    EXPECT_TRUE(five.Get(0, y));
    EXPECT_TRUE(five.Get(4, y));
  }
}

TEST(NarrowInk, MergesTheLeastDifferentColumnsWhenNoneRepeat) {
  const Bitmap b = FromRows({
      "#.#.#",
      ".#.#.",
  });
  const Bitmap n = NarrowInk(b, 4);
  EXPECT_EQ(InkBoxOf(n).Width(), 4);
  // Merged columns keep the ink of both.
  int ink = 0;
  for (int y = 0; y < n.Height(); ++y)
    for (int x = 0; x < n.Width(); ++x) ink += n.Get(x, y);
  EXPECT_EQ(ink, 5);
}

TEST(NarrowInk, LeavesNarrowAndEmptyGlyphsAlone) {
  const Bitmap b = FromRows({"..##..", "..#..."});
  EXPECT_EQ(NarrowInk(b, 2), b);
  const Bitmap blank(16, 16);
  EXPECT_EQ(NarrowInk(blank, 15), blank);
}

TEST(CellGlyph, SoftHyphenCombiningMarksAndMissingGlyphs) {
  const Unifont font = FontOf(
      "002D:00000000000000007E00000000000000\n"
      "00AD:AAAA000180003A63C25433C98A48724980000001800003C18000000180005555\n"
      "25CC:00000000001400410041001400000000\n"
      "0E31:000000313E0000000000000000000000\n"
      "00A0:00000000000000000000000000000000\n",
      "0E31:-8\n");
  EXPECT_EQ(CellGlyph(font, 0x00AD), *font.Glyph(0x002D));

  const Bitmap mark = CellGlyph(font, 0x0E31);
  const Bitmap circle = *font.Glyph(0x25CC);
  const Bitmap alone = *font.Glyph(0x0E31);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(mark.Get(x, y), circle.Get(x, y) || alone.Get(x, y)) << x << "," << y;

  EXPECT_THROW(CellGlyph(font, U'Z'), std::runtime_error);
  EXPECT_THROW(CellGlyph(font, 0x00A0), std::runtime_error);  // blank
}

TEST(CellGlyph, WideGlyphsFitTheCell) {
  const Unifont font = FontOf("2030:FFFF" + std::string(60, '0') + "\n");
  const Bitmap g = CellGlyph(font, 0x2030);
  EXPECT_LE(InkBoxOf(g).Width(), kMaxInkWidth);
}

TEST(CellLists, ReadsTablesAndCells) {
  std::istringstream tables("ctA\tA\tIA\t2\t2\t24\n");
  std::istringstream cells(
      "A\t0\t128\t20AC\t1\n"
      "A\t1\t129\t-\t0\n"
      "A\t2\t160\t00A0\t0\n"
      "A\t3\t255\t00FF\t1\n");
  const auto t = ReadCellLists(tables, cells);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].picture, "IA");
  EXPECT_EQ(t[0].Width(), 37);
  EXPECT_EQ(t[0].Height(), 49);
  ASSERT_EQ(t[0].cells.size(), 4u);
  EXPECT_EQ(t[0].cells[0].codepoint, U'\u20AC');
  EXPECT_FALSE(t[0].cells[1].codepoint.has_value());
  EXPECT_EQ(t[0].cells[2].key, 160);
  EXPECT_FALSE(t[0].cells[2].drawn);
  EXPECT_TRUE(t[0].cells[3].drawn);
}

TEST(CellLists, RejectsInconsistentLists) {
  const std::string good_table = "ctA\tA\tIA\t1\t2\t24\n";
  const std::string c0 = "A\t0\t0\t41\t1\n";
  const struct {
    const char* why;
    std::string tables, cells;
  } cases[] = {
      {"too few cells", good_table, c0},
      {"too many cells", good_table, c0 + "A\t1\t1\t42\t1\nA\t2\t2\t43\t1\n"},
      {"unknown table", good_table, c0 + "B\t1\t1\t42\t1\n"},
      {"cells out of order", good_table, c0 + "A\t2\t1\t42\t1\n"},
      {"drawn without a character", good_table, c0 + "A\t1\t1\t-\t1\n"},
      {"bad drawn flag", good_table, c0 + "A\t1\t1\t42\tyes\n"},
      {"bad code point", good_table, c0 + "A\t1\t1\t110000\t1\n"},
      {"missing field", good_table, c0 + "A\t1\t1\t42\n"},
      {"negative key", good_table, c0 + "A\t1\t-1\t42\t1\n"},
      {"cell height too small", "ctA\tA\tIA\t1\t2\t4\n", c0 + "A\t1\t1\t42\t1\n"},
      {"zero columns", "ctA\tA\tIA\t0\t2\t24\n", ""},
  };
  for (const auto& c : cases) {
    std::istringstream t(c.tables), l(c.cells);
    EXPECT_THROW(ReadCellLists(t, l), std::runtime_error) << c.why;
  }
}

}  // namespace
}  // namespace rf::tablepics
