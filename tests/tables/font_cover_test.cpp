// Every drawn cell of every table has a glyph in the scalable fonts the
// larger pictures are drawn from, cell by cell.
#include <gtest/gtest.h>

#include <string>

#include "tests/tables/table_fonts_test.h"

namespace rf::tablepics {
namespace {

class ScalableFonts : public TableFontsTest {};

TEST_F(ScalableFonts, CoverEveryDrawnCell) {
  const FontChain& fonts = Fonts();
  const auto& tables = tables_;
  ASSERT_EQ(tables.size(), 20u);
  int drawn = 0;
  std::string missing;
  for (const TableInfo& table : tables)
    for (std::size_t i = 0; i < table.cells.size(); ++i) {
      const CellInfo& cell = table.cells[i];
      if (!cell.drawn || !cell.codepoint) continue;
      ++drawn;
      if (fonts.FaceFor(*cell.codepoint) < 0)
        missing += " " + table.picture + ":" + std::to_string(i);
    }
  EXPECT_GT(drawn, 1800);
  EXPECT_EQ(missing, "");
  // The first face, a monospaced serif one, draws the Latin cells.
  EXPECT_EQ(fonts.FaceFor(U'\u00E9'), 0);
}

}  // namespace
}  // namespace rf::tablepics
