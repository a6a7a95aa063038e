// The twenty committed table pictures: their stored form, what a decoder
// reads from them, the grid and the glyph of every cell, and that they are
// what the generator makes today.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "chardata/char_table_kind.h"
#include "picker/Hover.h"
#include "tests/support/giflib_memory.h"
#include "tools/tablepics/cell_glyph.h"
#include "tools/tablepics/cell_list.h"
#include "tools/tablepics/picture_file.h"
#include "tools/tablepics/table_picture.h"
#include "tools/tablepics/unifont.h"

namespace rf::tablepics {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kPictureDir = fs::path(RF_SOURCE_DIR) / "resources" / "tables";
const fs::path kUnifontDir = RF_UNIFONT_DIR;

const std::vector<TableInfo>& Tables() {
  static const std::vector<TableInfo> tables = [] {
    std::ifstream t(fs::path(RF_TABLE_LIST_DIR) / "tables.tsv");
    std::ifstream c(fs::path(RF_TABLE_LIST_DIR) / "cells.tsv");
    return ReadCellLists(t, c);
  }();
  return tables;
}

const Unifont* Font() {
  static const std::optional<Unifont> font = []() -> std::optional<Unifont> {
    std::ifstream hex(kUnifontDir / "unifont.hex");
    if (!hex) return std::nullopt;
    Unifont f = Unifont::Read(hex);
    std::ifstream combining(kUnifontDir / "plane00-combining.txt");
    f.ReadCombining(combining);
    return f;
  }();
  return font ? &*font : nullptr;
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The GIF stream of a committed picture property, or empty when the file is
// missing or does not start with the picture class.
Bytes GifOf(const TableInfo& t) {
  const Bytes pic = ReadFile(kPictureDir / (t.picture + ".pic"));
  const std::size_t prefix = 1 + kPictureClass.size();
  if (pic.size() < prefix || pic[0] != kPictureClass.size() ||
      std::memcmp(pic.data() + 1, kPictureClass.data(), kPictureClass.size()) != 0)
    return {};
  return Bytes(pic.begin() + static_cast<std::ptrdiff_t>(prefix), pic.end());
}

// Decoded through giflib, a decoder of another design than ours.
struct Decoded {
  int width = 0, height = 0, images = 0;
  IndexedPicture picture;
  std::vector<GifColorType> colors;
};

std::optional<Decoded> DecodeWithGiflib(const Bytes& gif) {
  rf::test::GiflibMemorySource source(gif);
  int error = 0;
  GifFileType* f = source.Open(&error);
  if (f == nullptr) return std::nullopt;
  std::optional<Decoded> out;
  if (DGifSlurp(f) == GIF_OK && f->ImageCount >= 1 && f->SColorMap != nullptr) {
    Decoded d;
    d.width = f->SWidth;
    d.height = f->SHeight;
    d.images = f->ImageCount;
    d.colors.assign(f->SColorMap->Colors, f->SColorMap->Colors + f->SColorMap->ColorCount);
    const SavedImage& image = f->SavedImages[0];
    d.picture.width = image.ImageDesc.Width;
    d.picture.height = image.ImageDesc.Height;
    d.picture.pixels.assign(image.RasterBits,
                            image.RasterBits + static_cast<std::size_t>(d.picture.width) *
                                                   static_cast<std::size_t>(d.picture.height));
    out = std::move(d);
  }
  DGifCloseFile(f, &error);
  return out;
}

class TablePicture : public testing::TestWithParam<int> {
 protected:
  const TableInfo& Table() const { return Tables()[static_cast<std::size_t>(GetParam())]; }
};

std::string PictureName(const testing::TestParamInfo<int>& info) {
  return Tables()[static_cast<std::size_t>(info.param)].picture;
}

TEST_P(TablePicture, StoredForm) {
  const TableInfo& t = Table();
  const Bytes gif = GifOf(t);
  ASSERT_GT(gif.size(), 13u + 768u + 8u + 10u) << t.picture << ".pic missing or not a picture";
  auto u16 = [&](std::size_t at) { return gif[at] | gif[at + 1] << 8; };
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  EXPECT_EQ(u16(6), t.Width());
  EXPECT_EQ(u16(8), t.Height());
  EXPECT_EQ(gif[10] & 0x87, 0x87) << "global colour table of 256 entries";
  std::size_t at = 13;
  EXPECT_EQ((std::vector<int>{gif[at], gif[at + 1], gif[at + 2]}), (std::vector<int>{0, 0, 0}));
  at += 4 * 3;
  EXPECT_EQ((std::vector<int>{gif[at], gif[at + 1], gif[at + 2]}),
            (std::vector<int>{192, 192, 192}));
  at = 13 + 768;
  // Graphic control extension: no transparency, delay 0.
  ASSERT_EQ((Bytes(gif.begin() + static_cast<std::ptrdiff_t>(at),
                   gif.begin() + static_cast<std::ptrdiff_t>(at) + 4)),
            (Bytes{0x21, 0xF9, 0x04, gif[at + 3]}));
  EXPECT_EQ(gif[at + 3] & 0x01, 0);
  EXPECT_EQ(u16(at + 4), 0);
  EXPECT_EQ(gif[at + 7], 0);
  at += 8;
  // One image at (0, 0), full size, no local table, not interlaced.
  ASSERT_EQ(gif[at], 0x2C);
  EXPECT_EQ(u16(at + 1), 0);
  EXPECT_EQ(u16(at + 3), 0);
  EXPECT_EQ(u16(at + 5), t.Width());
  EXPECT_EQ(u16(at + 7), t.Height());
  EXPECT_EQ(gif[at + 9] & 0xC0, 0);
  EXPECT_EQ(gif[at + 10], 8) << "LZW minimum code size";
  EXPECT_EQ(gif.back(), 0x3B);

  const auto decoded = DecodeWithGiflib(gif);
  ASSERT_TRUE(decoded) << "giflib cannot read " << t.picture;
  EXPECT_EQ(decoded->images, 1);
  EXPECT_EQ(decoded->colors.size(), 256u);
}

TEST_P(TablePicture, GridCellsAndHitTest) {
  const TableInfo& t = Table();
  const auto decoded = DecodeWithGiflib(GifOf(t));
  ASSERT_TRUE(decoded) << t.picture;
  const IndexedPicture& p = decoded->picture;
  ASSERT_EQ(p.width, t.Width());
  ASSERT_EQ(p.height, t.Height());
  auto grid_x = [](int x) { return x % kCellWidth == 0; };
  auto grid_y = [&](int y) { return y % t.cell_height == 0; };
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const auto v = p.At(x, y);
      ASSERT_TRUE(v == kBlack || v == kSilver) << x << "," << y;
      if (grid_x(x) || grid_y(y)) {
        ASSERT_EQ(v, kBlack) << "grid line broken at " << x << "," << y;
      } else if (grid_x(x - 1) || grid_x(x + 1) || grid_y(y - 1) || grid_y(y + 1)) {
        ASSERT_EQ(v, kSilver) << "glyph touches a grid line at " << x << "," << y;
      }
    }

  const auto& hover =
      picker::PictureOf(chardata::kAllCharTableKinds[static_cast<std::size_t>(GetParam())]);
  ASSERT_EQ(hover.picture, t.picture);
  ASSERT_EQ(hover.width, t.Width());
  ASSERT_EQ(hover.height, t.Height());
  for (int i = 0; i < static_cast<int>(t.cells.size()); ++i) {
    const int col = i / t.rows, row = i % t.rows;
    int ink = 0;
    for (int y = t.cell_height * row + 1; y < t.cell_height * (row + 1); ++y)
      for (int x = kCellWidth * col + 1; x < kCellWidth * (col + 1); ++x)
        ink += p.At(x, y) == kBlack;
    EXPECT_EQ(ink > 0, t.cells[static_cast<std::size_t>(i)].drawn) << t.picture << " cell " << i;

    // The dialog's hover at the cell's centre names this cell.
    const int cx = kCellWidth * col + 9, cy = t.cell_height * row + t.cell_height / 2;
    EXPECT_EQ(picker::CellIndexAt(hover, cx, cy), i) << t.picture;
  }
}

// Every drawn cell shows its own character: the cell's ink is the glyph the
// generator makes for that character, so the cell order cannot slip.
TEST_P(TablePicture, EveryCellShowsItsCharacter) {
  const Unifont* font = Font();
  if (font == nullptr) GTEST_SKIP() << "GNU Unifont not installed in " << kUnifontDir;
  const TableInfo& t = Table();
  const auto decoded = DecodeWithGiflib(GifOf(t));
  ASSERT_TRUE(decoded) << t.picture;
  for (int i = 0; i < static_cast<int>(t.cells.size()); ++i) {
    const CellInfo& cell = t.cells[static_cast<std::size_t>(i)];
    if (!cell.drawn) continue;
    const StrokeExtension ext = StrokeExtensionOf(*cell.codepoint);
    if (ext.up || ext.down) continue;  // stretched; checked below
    const Bitmap glyph = CellGlyph(*font, *cell.codepoint);
    const InkBox want = InkBoxOf(glyph);
    const CellArea area = InkAreaOf(t, i);
    Bitmap got(area.right - area.left + 1, area.bottom - area.top + 1);
    for (int y = area.top; y <= area.bottom; ++y)
      for (int x = area.left; x <= area.right; ++x)
        if (decoded->picture.At(x, y) == kBlack) got.Set(x - area.left, y - area.top);
    const InkBox box = InkBoxOf(got);
    ASSERT_EQ(box.Width(), want.Width()) << t.picture << " cell " << i;
    ASSERT_EQ(box.Height(), want.Height()) << t.picture << " cell " << i;
    for (int y = 0; y < want.Height(); ++y)
      for (int x = 0; x < want.Width(); ++x)
        ASSERT_EQ(got.Get(box.left + x, box.top + y), glyph.Get(want.left + x, want.top + y))
            << t.picture << " cell " << i;
    // Roughly centred across the cell.
    EXPECT_LE(std::abs((box.left + box.right) - (got.Width() - 1)), 1)
        << t.picture << " cell " << i;
  }
}

TEST_P(TablePicture, CommittedPictureIsCurrent) {
  const Unifont* font = Font();
  if (font == nullptr) GTEST_SKIP() << "GNU Unifont not installed in " << kUnifontDir;
  const TableInfo& t = Table();
  const Bytes want = PictureProperty(EncodeGif(DrawTablePicture(t, *font)));
  EXPECT_TRUE(ReadFile(kPictureDir / (t.picture + ".pic")) == want)
      << t.picture << ".pic is stale: build the target tablepics_update and commit";
}

INSTANTIATE_TEST_SUITE_P(All, TablePicture, testing::Range(0, 20), PictureName);

TEST(TablePictures, TwentyTablesInStoreOrder) {
  ASSERT_EQ(Tables().size(), 20u);
  EXPECT_EQ(Tables().front().picture, "IANSI");
  EXPECT_EQ(Tables()[16].picture, "ICP734");
  EXPECT_EQ(Tables().back().picture, "IGrafik");
}

// Technik cells 26 to 28 stack into one tall integral: the stem runs through
// cell 27 from the top to the bottom of its drawing area and continues in the
// cells above and below, in the same pixel column.
TEST(TablePictures, TechnikIntegralIsOneStroke) {
  const TableInfo& t = Tables()[18];
  ASSERT_EQ(t.picture, "ITechnik");
  const auto decoded = DecodeWithGiflib(GifOf(t));
  ASSERT_TRUE(decoded);
  const IndexedPicture& p = decoded->picture;
  const CellArea top = InkAreaOf(t, 26), mid = InkAreaOf(t, 27), bottom = InkAreaOf(t, 28);
  std::vector<int> stems;
  for (int x = mid.left; x <= mid.right; ++x) {
    bool full = true;
    for (int y = mid.top; y <= mid.bottom; ++y) full = full && p.At(x, y) == kBlack;
    if (full) stems.push_back(x);
  }
  ASSERT_FALSE(stems.empty());
  for (int x : stems) {
    EXPECT_EQ(p.At(x, top.bottom), kBlack) << "top half ends short of cell 27";
    EXPECT_EQ(p.At(x, bottom.top), kBlack) << "bottom half starts short of cell 27";
  }
}

}  // namespace
}  // namespace rf::tablepics
