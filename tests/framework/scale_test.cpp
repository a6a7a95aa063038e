#include "framework/scale.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "chardata/char_table_kind.h"
#include "picker/Hover.h"
#include "resources/layouts.h"

namespace rf::fw {
namespace {

TEST(ScaleRule, StepIsTheLargestAtOrBelowTheDpi) {
  const std::map<int, int> expected = {{0, 100},   {72, 100},  {96, 100},  {119, 100}, {120, 125},
                                       {143, 125}, {144, 150}, {168, 175}, {191, 175}, {192, 200},
                                       {216, 225}, {240, 250}, {287, 250}, {288, 300}, {480, 300}};
  for (const auto& [dpi, percent] : expected) EXPECT_EQ(ScalePercentForDpi(dpi), percent) << dpi;
}

TEST(ScaleRule, EdgesRiseStrictlyAndEveryDevicePixelMapsBackToOneUnit) {
  for (const int step : kScaleSteps) {
    SCOPED_TRACE(step);
    const Scale s(step);
    EXPECT_EQ(s.Edge(0), 0);
    for (int x = -60; x < 1000; ++x) {
      ASSERT_GT(s.Edge(x + 1), s.Edge(x)) << x;
      // Every device pixel of unit x, and none other, maps back to x:
      // also left of and above a control, where a captured drag reaches.
      for (int d = s.Edge(x); d < s.Edge(x + 1); ++d) ASSERT_EQ(s.ToLayout(d), x) << d;
    }
  }
  const Scale one;
  for (int x = -5; x < 500; ++x) EXPECT_EQ(one.Edge(x), x);
  // Halves round up, also below zero.
  EXPECT_EQ(Scale(150).Edge(1), 2);
  EXPECT_EQ(Scale(150).Edge(-1), -1);
  EXPECT_EQ(Scale(125).Edge(2), 3);
}

TEST(ScaleRule, FontsAreMadeForTheScaleInWholePoints) {
  EXPECT_EQ(Scale(100).FontHeight(11), 11);
  EXPECT_EQ(Scale(100).FontHeight(8), 8);
  EXPECT_EQ(Scale(150).FontHeight(11), 16);  // 8 pt at 144 DPI
  EXPECT_EQ(Scale(200).FontHeight(11), 21);
  EXPECT_EQ(Scale(150).FontHeight(8), 12);   // 6 pt
  EXPECT_EQ(Scale(200).FontHeight(32), 64);  // 24 pt
  EXPECT_EQ(Scale(125).FontHeight(11), 13);
  for (const int step : kScaleSteps)
    for (int px = 6; px < 40; ++px)
      EXPECT_GE(Scale(step).FontHeight(px + 2), Scale(step).FontHeight(px));
}

// The rectangles of a layout relative to their parent, grouped by parent
// (an empty name: the form).
struct Placed {
  std::string name;
  Bounds bounds;
};

std::map<std::string, std::vector<Placed>> ByParent(std::span<const ControlSpec> layout,
                                                    const Scale& s) {
  std::map<std::string, std::vector<Placed>> out;
  for (const ControlSpec& c : layout) {
    // Pages take their tab control's page area, and a client-aligned
    // control its parent's client: neither has a rectangle of its own.
    if (c.kind == ControlKind::TabPage || c.align_client) continue;
    out[c.parent ? c.parent : ""].push_back({c.name, s.Apply(c.bounds)});
  }
  return out;
}

// Overlap (> 0), touching (0) or gap (< 0) along one axis.
int Overlap(int a0, int a1, int b0, int b1) {
  return std::min(a1, b1) - std::max(a0, b0);
}
int Sign(int v) {
  return (v > 0) - (v < 0);
}

void CheckLayout(const FormSpec& form, std::span<const ControlSpec> layout) {
  const Scale one;
  const auto base = ByParent(layout, one);
  std::map<std::string, Bounds> own;
  for (const ControlSpec& c : layout) own[c.name] = c.bounds;
  for (const int step : kScaleSteps) {
    SCOPED_TRACE(step);
    const Scale s(step);
    const auto scaled = ByParent(layout, s);
    const Bounds client = s.Apply({0, 0, form.client_width, form.client_height});
    for (const auto& [parent, children] : scaled) {
      SCOPED_TRACE(parent);
      const auto& before = base.at(parent);
      // Inside the parent wherever the 96-DPI layout is inside it.
      const Bounds room = parent.empty() ? client : s.Apply(own[parent]);
      const Bounds room96 =
          parent.empty() ? Bounds{0, 0, form.client_width, form.client_height} : own[parent];
      for (std::size_t i = 0; i < children.size(); ++i) {
        const Bounds& b = children[i].bounds;
        const Bounds& b96 = before[i].bounds;
        SCOPED_TRACE(children[i].name);
        EXPECT_GT(b.width, 0);
        EXPECT_GT(b.height, 0);
        if (b96.left >= 0 && b96.left + b96.width <= room96.width) {
          EXPECT_GE(b.left, 0);
          EXPECT_LE(b.left + b.width, room.width);
        }
        if (b96.top >= 0 && b96.top + b96.height <= room96.height) {
          EXPECT_GE(b.top, 0);
          EXPECT_LE(b.top + b.height, room.height);
        }
        // Neighbours: what overlaps, touches or stands apart at 96 DPI
        // does so at every scale, along both axes.
        for (std::size_t j = i + 1; j < children.size(); ++j) {
          const Bounds& o = children[j].bounds;
          const Bounds& o96 = before[j].bounds;
          SCOPED_TRACE(children[j].name);
          EXPECT_EQ(Sign(Overlap(b.left, b.left + b.width, o.left, o.left + o.width)),
                    Sign(Overlap(b96.left, b96.left + b96.width, o96.left, o96.left + o96.width)));
          EXPECT_EQ(Sign(Overlap(b.top, b.top + b.height, o.top, o.top + o.height)),
                    Sign(Overlap(b96.top, b96.top + b96.height, o96.top, o96.top + o96.height)));
        }
      }
    }
  }
}

TEST(ScaleRule, PickerLayoutKeepsItsNeighboursAtEveryStep) {
  CheckLayout(resources::CharSetForm(), resources::CharSetLayout());
  const FormSpec& form = resources::CharSetForm();
  const Bounds at150 = Scale(150).Apply({0, 0, form.client_width, form.client_height});
  const Bounds at200 = Scale(200).Apply({0, 0, form.client_width, form.client_height});
  EXPECT_EQ(at150.width, 687);
  EXPECT_EQ(at150.height, 630);
  EXPECT_EQ(at200.width, 916);
  EXPECT_EQ(at200.height, 840);
}

TEST(ScaleRule, InfoLayoutKeepsItsNeighboursAtEveryStep) {
  CheckLayout(resources::InfoForm(), resources::InfoLayout());
}

TEST(ScaleRule, TabRowCoversThePanelOverItAtEveryStep) {
  // PInfo lies over the tab row of PCChar from the same top edge; the row
  // is scaled as a span from that edge, so it ends where the panel does.
  Bounds tabs, panel;
  int row = 0;
  for (const ControlSpec& c : resources::CharSetLayout()) {
    if (std::string(c.name) == "PCChar") tabs = c.bounds, row = c.tab_row_height;
    if (std::string(c.name) == "PInfo") panel = c.bounds;
  }
  ASSERT_EQ(tabs.top, panel.top);
  ASSERT_EQ(row, panel.height);
  for (const int step : kScaleSteps) {
    const Scale s(step);
    const Bounds t = s.Apply(tabs), p = s.Apply(panel);
    EXPECT_EQ(t.top + s.Span(tabs.top, row), p.top + p.height) << step;
  }
}

// The picture handlers see device positions converted to layout units: at
// every step, every device pixel of a grid line lands on the line (which
// belongs to the cell right of or below it), the device centre of every
// cell lands in that cell, and the frame and the strip outside clear.
TEST(ScaleRule, PictureHitTestingHoldsInDevicePixelsAtEveryStep) {
  for (const int step : kScaleSteps) {
    const Scale s(step);
    for (const auto kind : chardata::kAllCharTableKinds) {
      const picker::PictureParams& p = picker::PictureOf(kind);
      SCOPED_TRACE(std::string(p.picture) + " at " + std::to_string(step));
      const int columns = (p.width - 1) / picker::kCellWidth;
      auto at = [&](int dx, int dy) {
        return picker::CellIndexAt(p, s.ToLayout(dx), s.ToLayout(dy));
      };
      int wrong = 0;
      for (int i = 0; i < columns * p.rows; ++i) {
        const int c = i / p.rows, r = i % p.rows;
        const int x0 = picker::kCellWidth * c, y0 = p.cell_height * r;
        const int cx = (s.Edge(x0) + s.Edge(x0 + picker::kCellWidth)) / 2;
        const int cy = (s.Edge(y0) + s.Edge(y0 + p.cell_height)) / 2;
        wrong += at(cx, cy) != i;
        // The grid line left of and above an inner cell is that cell's.
        if (c > 0)
          for (int d = s.Edge(x0); d < s.Edge(x0 + 1); ++d) wrong += at(d, cy) != i;
        if (r > 0)
          for (int d = s.Edge(y0); d < s.Edge(y0 + 1); ++d) wrong += at(cx, d) != i;
      }
      EXPECT_EQ(wrong, 0);
      // The hover area begins at unit 2 and ends at W - 2 and H - 2.
      const int mid_y = s.Edge(p.cell_height / 2);
      EXPECT_FALSE(at(s.Edge(2) - 1, mid_y));
      EXPECT_EQ(at(s.Edge(2), s.Edge(2)), 0);
      EXPECT_TRUE(at(s.Edge(p.width - 1) - 1, mid_y));
      EXPECT_FALSE(at(s.Edge(p.width - 1), mid_y));
      EXPECT_FALSE(at(s.Edge(p.width), mid_y));
      EXPECT_FALSE(at(mid_y, s.Edge(p.height - 1)));
      EXPECT_FALSE(at(-1, mid_y));
      EXPECT_FALSE(at(mid_y, -s.Edge(30)));
    }
  }
}

}  // namespace
}  // namespace rf::fw
