#include <gtest/gtest.h>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/reduce/colorlookup.h"

namespace rf::gif {
namespace {

struct CubeCase {
  TGIFColor wanted;
  int index;
  TGIFColor chosen;
};

TEST(NetscapeLookup, MapsEachChannelToTheLevelAtItsCentre) {
  const CubeCase cases[] = {
      {{255, 0, 0}, 180, {255, 0, 0}},         {{0, 0, 0}, 0, {0, 0, 0}},
      {{255, 255, 255}, 215, {255, 255, 255}}, {{0, 47, 48}, 1, {0, 0, 51}},  // (v + 3) / 51 edge
      {{50, 152, 254}, 59, {51, 153, 255}},    {{100, 101, 0}, 84, {102, 102, 0}},
  };
  TNetscapeColorLookup lookup;
  ASSERT_EQ(lookup.Colors(), 216);
  for (const CubeCase& c : cases) {
    TGIFColor chosen;
    EXPECT_EQ(lookup.Lookup(c.wanted.red, c.wanted.green, c.wanted.blue, chosen), c.index);
    EXPECT_EQ(chosen, c.chosen);
    const PaletteEntry& e = lookup.GetPalette()[static_cast<std::size_t>(c.index)];
    EXPECT_EQ((TGIFColor{e.red, e.green, e.blue}), c.chosen) << "palette and lookup disagree";
  }
}

TEST(MonochromeAndGreyLookups, FollowTheWeightedSum) {
  TMonochromeLookup mono;
  TGIFColor chosen;
  EXPECT_EQ(mono.Lookup(127, 127, 127, chosen), 0);  // 32512 is below 32513
  EXPECT_EQ(chosen, (TGIFColor{0, 0, 0}));
  EXPECT_EQ(mono.Lookup(128, 128, 128, chosen), 1);
  EXPECT_EQ(chosen, (TGIFColor{255, 255, 255}));
  EXPECT_EQ(mono.Lookup(255, 0, 0, chosen), 0);  // 19635
  EXPECT_EQ(mono.Lookup(0, 217, 0, chosen), 1);  // 32550
  EXPECT_EQ(mono.GetPalette()[1].flags, pcNoCollapse);

  TGrayScaleLookup grey;
  EXPECT_EQ(grey.Colors(), 256);
  EXPECT_EQ(grey.Lookup(255, 255, 255, chosen), 255);
  EXPECT_EQ(grey.Lookup(255, 0, 0, chosen), 76);  // 19635 / 256
  EXPECT_EQ(chosen, (TGIFColor{76, 76, 76}));
  EXPECT_EQ(grey.Lookup(10, 20, 30, chosen), (77 * 10 + 150 * 20 + 29 * 30) / 256);
}

TEST(FastLookup, FirstEntryOfACellWinsAndSearchesAreRemembered) {
  // Entries 0 and 1 share the cell of (8..15, 0..7, 0..7); entry 1 can
  // never be answered for that cell.
  TFastColorLookup lookup({{8, 0, 0, 0}, {15, 7, 7, 0}, {200, 200, 200, 0}, {0, 0, 255, 0}});
  TGIFColor chosen;
  EXPECT_EQ(lookup.Lookup(15, 7, 7, chosen), 0);
  EXPECT_EQ(chosen, (TGIFColor{8, 0, 0}));
  // An empty cell: the smallest sum of absolute differences wins...
  EXPECT_EQ(lookup.Lookup(180, 190, 210, chosen), 2);
  EXPECT_EQ(lookup.Lookup(0, 40, 200, chosen), 3);
  // ...and the answer found for the first colour of a cell holds for the
  // whole cell, though (103, 103, 7) alone is nearer to the second entry.
  const Palette two = {{90, 90, 0, 0}, {110, 110, 10, 0}};
  TFastColorLookup remembered(two);
  EXPECT_EQ(remembered.Lookup(97, 97, 0, chosen), 0);    // 14 against 36
  EXPECT_EQ(remembered.Lookup(103, 103, 7, chosen), 0);  // same cell
  TFastColorLookup fresh(two);
  EXPECT_EQ(fresh.Lookup(103, 103, 7, chosen), 1);  // 33 against 17
}

TEST(FastLookup, EqualDistancesGoToTheFirstEntry) {
  TFastColorLookup lookup({{0, 0, 0, 0}, {100, 0, 0, 0}, {0, 100, 0, 0}});
  TGIFColor chosen;
  EXPECT_EQ(lookup.Lookup(50, 50, 0, chosen), 0);  // 100, 100, 100
  EXPECT_EQ(lookup.Lookup(96, 96, 0, chosen), 1);  // 192, 100, 100
}

TEST(FastLookup, RefusesAnEmptyPalette) {
  try {
    TFastColorLookup lookup({});
    FAIL() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), msg::kColorTableEmpty);
  }
}

}  // namespace
}  // namespace rf::gif
