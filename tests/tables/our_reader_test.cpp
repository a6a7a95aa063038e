// The committed table pictures read back through the module's own GIF
// reader, as the dialog will read them, and compared with giflib's reading.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gif/gifimage.h"
#include "tools/tablepics/cell_list.h"
#include "tools/tablepics/picture_file.h"
#include "tools/tablepics/table_picture.h"

namespace rf::tablepics {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(TablePicturesOwnReader, EveryPictureReadsAsStored) {
  std::ifstream tables_in(fs::path(RF_TABLE_LIST_DIR) / "tables.tsv");
  std::ifstream cells_in(fs::path(RF_TABLE_LIST_DIR) / "cells.tsv");
  const auto tables = ReadCellLists(tables_in, cells_in);
  ASSERT_EQ(tables.size(), 20u);
  for (const TableInfo& t : tables) {
    SCOPED_TRACE(t.picture);
    std::ifstream in(fs::path(RF_SOURCE_DIR) / "resources" / "tables" / (t.picture + ".pic"),
                     std::ios::binary);
    const Bytes pic{std::istreambuf_iterator<char>(in), {}};
    const std::size_t prefix = 1 + kPictureClass.size();
    ASSERT_GT(pic.size(), prefix);
    ASSERT_EQ(std::string(pic.begin() + 1, pic.begin() + static_cast<std::ptrdiff_t>(prefix)),
              kPictureClass);

    gif::TGIFImage image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](gif::TGIFImage&, gif::TGIFSeverity, const std::string& message) {
      warnings.push_back(message);
    };
    image.LoadFromBytes(std::span<const std::uint8_t>(pic).subspan(prefix));
    EXPECT_TRUE(warnings.empty()) << warnings.front();

    EXPECT_EQ(image.Width(), t.Width());
    EXPECT_EQ(image.Height(), t.Height());
    const auto& colors = image.GlobalColorMap();
    ASSERT_EQ(colors.Count(), 256);
    EXPECT_EQ(colors[kBlack], (gif::TGIFColor{0, 0, 0}));
    EXPECT_EQ(colors[kSilver], (gif::TGIFColor{192, 192, 192}));

    ASSERT_EQ(image.Images().Count(), 1u);
    const gif::TGIFSubImage& frame = image.Images()[0];
    EXPECT_EQ(frame.Left(), 0);
    EXPECT_EQ(frame.Top(), 0);
    EXPECT_EQ(frame.Width(), t.Width());
    EXPECT_EQ(frame.Height(), t.Height());
    EXPECT_FALSE(frame.Interlaced());
    EXPECT_TRUE(frame.ColorMap().Empty());
    ASSERT_NE(frame.GraphicControlExtension(), nullptr);
    EXPECT_FALSE(frame.GraphicControlExtension()->Transparent());
    EXPECT_EQ(frame.GraphicControlExtension()->Delay(), 0);

    // Grid and cells: the same pixels the drawing made.
    const auto pixels = frame.Pixels();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(t.Width() * t.Height()));
    for (int x = 0; x < t.Width(); x += kCellWidth)
      for (int y = 0; y < t.Height(); ++y)
        ASSERT_EQ(pixels[static_cast<std::size_t>(y * t.Width() + x)], kBlack) << x << "," << y;
    for (int y = 0; y < t.Height(); y += t.cell_height)
      for (int x = 0; x < t.Width(); ++x)
        ASSERT_EQ(pixels[static_cast<std::size_t>(y * t.Width() + x)], kBlack) << x << "," << y;
    for (int i = 0; i < static_cast<int>(t.cells.size()); ++i) {
      const CellArea a = InkAreaOf(t, i);
      bool ink = false;
      for (int y = a.top - 1; y <= a.bottom + 1; ++y)
        for (int x = a.left - 1; x <= a.right + 1; ++x) {
          const auto v = pixels[static_cast<std::size_t>(y * t.Width() + x)];
          ASSERT_TRUE(v == kBlack || v == kSilver);
          const bool inside = x >= a.left && x <= a.right && y >= a.top && y <= a.bottom;
          ASSERT_TRUE(inside || v == kSilver) << "ink beside the grid in cell " << i;
          ink = ink || v == kBlack;
        }
      EXPECT_EQ(ink, t.cells[static_cast<std::size_t>(i)].drawn) << "cell " << i;
    }
  }
}

}  // namespace
}  // namespace rf::tablepics
