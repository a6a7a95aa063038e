// The table pictures drawn for the larger scales: grid lines where the
// scale's edge rule puts the 96-DPI lines, ink only inside each drawn
// cell's area, none in an empty cell.
#include "tools/tablepics/scaled_picture.h"

#include "tests/tables/table_fonts_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace rf::tablepics {
namespace {

namespace fs = std::filesystem;

class ScaledPictures : public TableFontsTest {};

TEST_F(ScaledPictures, GridAndInkFollowTheEdgeRuleAtEveryStep) {
  const FontChain& fonts = Fonts();
  const auto& tables = tables_;
  for (const int step : fw::kScaleSteps) {
    if (step == 100) continue;  // the stored 100 % pictures are Unifont's
    const fw::Scale s(step);
    for (const TableInfo& table : tables) {
      SCOPED_TRACE(table.picture + " at " + std::to_string(step));
      const IndexedPicture pic = DrawScaledTablePicture(table, fonts, s);
      ASSERT_EQ(pic.width, s.Edge(table.Width()));
      ASSERT_EQ(pic.height, s.Edge(table.Height()));
      // Which cell's ink area holds each device pixel, or -1.
      std::vector<int> owner(static_cast<std::size_t>(pic.width * pic.height), -1);
      for (int i = 0; i < static_cast<int>(table.cells.size()); ++i) {
        const CellArea a = ScaledInkAreaOf(table, i, s);
        for (int y = a.top; y <= a.bottom; ++y)
          for (int x = a.left; x <= a.right; ++x)
            owner[static_cast<std::size_t>(y * pic.width + x)] = i;
      }
      int grid_wrong = 0, stray = 0;
      std::vector<int> inked(table.cells.size(), 0);
      for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
          const bool grid =
              s.ToLayout(x) % kCellWidth == 0 || s.ToLayout(y) % table.cell_height == 0;
          const std::uint8_t px = pic.At(x, y);
          if (grid) {
            grid_wrong += px != kBlack;
            continue;
          }
          const int cell = owner[static_cast<std::size_t>(y * pic.width + x)];
          if (px == kSilver) continue;
          if (cell < 0)
            ++stray;
          else
            ++inked[static_cast<std::size_t>(cell)];
        }
      EXPECT_EQ(grid_wrong, 0);
      EXPECT_EQ(stray, 0) << "ink outside the cells' areas";
      std::string blank, filled;
      for (std::size_t i = 0; i < table.cells.size(); ++i) {
        if (table.cells[i].drawn && inked[i] == 0) blank += " " + std::to_string(i);
        if (!table.cells[i].drawn && inked[i] > 0) filled += " " + std::to_string(i);
      }
      EXPECT_EQ(blank, "") << "drawn cells without ink";
      EXPECT_EQ(filled, "") << "empty cells with ink";
    }
  }
}

// The integral's top, extension and bottom stack into one sign: the stem
// reaches the edges of each piece's area in the same device columns.
TEST_F(ScaledPictures, IntegralPiecesJoinAtEveryStep) {
  const FontChain& fonts = Fonts();
  const auto& tables = tables_;
  const TableInfo* technik = nullptr;
  for (const TableInfo& table : tables)
    if (table.picture == "ITechnik") technik = &table;
  ASSERT_NE(technik, nullptr);
  for (const int step : fw::kScaleSteps) {
    if (step == 100) continue;
    SCOPED_TRACE(step);
    const fw::Scale s(step);
    const IndexedPicture pic = DrawScaledTablePicture(*technik, fonts, s);
    auto inked_columns = [&](int cell, bool bottom_row) {
      const CellArea a = ScaledInkAreaOf(*technik, cell, s);
      std::string columns;
      for (int x = a.left; x <= a.right; ++x)
        columns += pic.At(x, bottom_row ? a.bottom : a.top) == kSilver ? '.' : '#';
      return columns;
    };
    const std::string stem = inked_columns(27, false);
    EXPECT_NE(stem.find('#'), std::string::npos);
    EXPECT_EQ(inked_columns(27, true), stem);
    EXPECT_EQ(inked_columns(26, true), stem) << "top piece";
    EXPECT_EQ(inked_columns(28, false), stem) << "bottom piece";
  }
}

// The module stores what the tool draws; a change to the drawing or the
// fonts shows here until the pictures are made again and committed.
TEST_F(ScaledPictures, CommittedPicturesAreCurrent) {
  const FontChain& fonts = Fonts();
  const auto& tables = tables_;
  std::string stale;
  for (const int step : fw::kScaleSteps) {
    if (step == 100) continue;
    for (const TableInfo& table : tables) {
      const std::string name = table.picture + "_" + std::to_string(step) + ".pic";
      std::ifstream in(fs::path(RF_SOURCE_DIR) / "resources/tables" / name, std::ios::binary);
      const std::vector<std::uint8_t> stored{std::istreambuf_iterator<char>(in), {}};
      const auto want = PictureProperty(
          EncodeGif(DrawScaledTablePicture(table, fonts, fw::Scale(step)), ScaledPalette()));
      if (stored != want) stale += " " + name;
    }
  }
  EXPECT_EQ(stale, "") << "build the target tablepics_update and commit resources/tables";
}

}  // namespace
}  // namespace rf::tablepics
