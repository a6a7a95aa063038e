// The table pictures as the live dialog shows them: each tab's screenshot
// goes to the build's artifacts folder, and the pixels of the window agree
// with the stored picture on every grid line, at every cell centre and
// everywhere else.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "framework/scale.h"
#include "tests/picker_win/plugin_fixture.h"
#include "tests/support/stored_picture.h"

namespace rf::test {
namespace {

using host::Control;

struct Tab {
  const char* name;
  int outer;  // tab of PCChar
  int inner;  // tab of PCiso, or -1
  const char* picture;
};

const Tab kTabs[] = {
    {"ANSI", 0, -1, "IANSI"},
    {"ISO8859-1", 1, 0, "IISO8859_1"},
    {"ISO8859-11", 1, 10, "IISO8859_11"},
    {"CP437", 2, -1, "ICP734"},
    {"Technik", 4, -1, "ITechnik"},
    {"Grafik", 5, -1, "IGrafik"},
};

constexpr int kCellWidth = 18;

Picture StoredPicture(const std::string& control) {
  return StoredPictureFile("resources/tables/" + control + ".pic");
}

// The runs at other DPIs keep their screenshots beside the 96-DPI ones.
std::string DpiSuffix() {
  const int dpi = ScreenDpi();
  return dpi == 96 ? "" : "_dpi" + std::to_string(dpi);
}

// What one tab showed: the dialog's client area and where the picture lies.
struct Shown {
  host::Screenshot shot;
  POINT origin = {};
  RECT panel = {};  // PInfo, which lies over the right end of the tab row
  bool saved = false;
};

std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

class TablesOnScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    config_ = DeliveredConfig();
    PluginCopy copy(&config_);
    copy.Run([](HWND d) {
      // Nothing of another program may cover the dialog while it is read.
      SetWindowPos(d, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      for (const Tab& t : kTabs) {
        host::SelectTab(Control(d, "PCChar"), t.outer);
        if (t.inner >= 0) host::SelectTab(Control(d, "PCiso"), t.inner);
        Shown& s = shown_[t.name];
        POINT origin = {0, 0};
        MapWindowPoints(Control(d, t.picture), d, &origin, 1);
        s.origin = origin;
        s.panel = host::RectInParent(Control(d, "PInfo"));
        s.shot = host::CaptureWindow(d, /*client_only=*/true);
        s.saved = host::SavePng(
            s.shot, ArtifactPath(std::string("tables_") + t.name + DpiSuffix() + ".png"));
      }
      host::PressButton(Control(d, "BtnAbbruch"));
    });
  }
  static inline std::string config_;
  static inline std::map<std::string, Shown> shown_;
};

TEST_F(TablesOnScreen, EveryTabIsSavedAsAnArtifact) {
  for (const Tab& t : kTabs) {
    SCOPED_TRACE(t.name);
    ASSERT_TRUE(shown_.count(t.name)) << "the dialog did not run";
    EXPECT_EQ(shown_[t.name].shot.width, 458);
    EXPECT_EQ(shown_[t.name].shot.height, 420);
    EXPECT_TRUE(shown_[t.name].saved);
  }
}

TEST_F(TablesOnScreen, WindowPixelsAgreeWithThePicture) {
  for (const Tab& t : kTabs) {
    SCOPED_TRACE(t.name);
    const Picture pic = StoredPicture(t.picture);
    ASSERT_GT(pic.width, 0) << "stored picture missing";
    ASSERT_TRUE(shown_.count(t.name)) << "the dialog did not run";
    const Shown& s = shown_[t.name];
    ASSERT_LE(s.origin.x + pic.width, s.shot.width);
    ASSERT_LE(s.origin.y + pic.height, s.shot.height);
    auto live = [&](int x, int y) { return s.shot.Pixel(s.origin.x + x, s.origin.y + y); };
    // The "Zeichen Nr." panel lies over the tab row and may hide the top
    // of a wide picture, but only the frame strip outside the hover area
    // (rows 0 and 1), never a cell.
    auto hidden = [&](int x, int y) {
      const POINT p = {s.origin.x + x, s.origin.y + y};
      return PtInRect(&s.panel, p) != FALSE;
    };
    for (int x = 0; x < pic.width; ++x) ASSERT_FALSE(hidden(x, 2)) << "panel over the cells";
    auto differs = [&](int x, int y, COLORREF want) { return !hidden(x, y) && live(x, y) != want; };

    const int cell_height = std::string(t.picture).starts_with("IISO") ? 27 : 24;
    const int rows = (pic.height - 1) / cell_height;
    const int columns = (pic.width - 1) / kCellWidth;

    // Grid lines: black in the window as in the picture. A picture that is
    // not drawn at all (GIF drawing missing) fails here first.
    int grid_wrong = 0;
    for (int x = 0; x < pic.width; x += kCellWidth)
      for (int y = 0; y < pic.height; ++y) grid_wrong += differs(x, y, RGB(0, 0, 0));
    for (int y = 0; y < pic.height; y += cell_height)
      for (int x = 0; x < pic.width; ++x) grid_wrong += differs(x, y, RGB(0, 0, 0));
    EXPECT_EQ(grid_wrong, 0) << "grid pixels not black; at 0,0 the window shows "
                             << Hex(live(0, 0));

    // Cell centres, in cell order (down each column).
    std::string centres_wrong;
    for (int i = 0; i < rows * columns; ++i) {
      const int x = kCellWidth * (i / rows) + kCellWidth / 2;
      const int y = cell_height * (i % rows) + cell_height / 2;
      if (differs(x, y, pic.At(x, y))) {
        centres_wrong.append(" ").append(std::to_string(i)).append(":");
        centres_wrong.append(Hex(live(x, y)));
      }
    }
    EXPECT_EQ(centres_wrong, "");

    // And every other pixel: the picture is drawn at the control's corner,
    // unscaled, in its own two colours.
    int wrong = 0;
    std::string first;
    for (int y = 0; y < pic.height; ++y)
      for (int x = 0; x < pic.width; ++x)
        if (differs(x, y, pic.At(x, y)) && ++wrong <= 8) {
          first.append(" ").append(std::to_string(x)).append(",").append(std::to_string(y));
          first.append(":").append(Hex(live(x, y)));
        }
    EXPECT_EQ(wrong, 0) << "of " << pic.width * pic.height << " pixels, first at" << first;
  }
}

TEST_F(TablesOnScreen, TheStripBelowAPictureIsNotPartOfIt) {
  // The control is taller than its picture: below the bottom grid line the
  // page's background shows, not more grid.
  for (const Tab& t : kTabs) {
    SCOPED_TRACE(t.name);
    const Picture pic = StoredPicture(t.picture);
    ASSERT_TRUE(shown_.count(t.name)) << "the dialog did not run";
    const Shown& s = shown_[t.name];
    const int y = s.origin.y + pic.height + 1;
    ASSERT_LT(y, s.shot.height);
    EXPECT_NE(s.shot.Pixel(s.origin.x, y), RGB(0, 0, 0));
    EXPECT_NE(s.shot.Pixel(s.origin.x + kCellWidth, y), RGB(0, 0, 0));
  }
}

// At any display scale the window shows the picture stored for that scale,
// pixel for pixel: at 96 DPI the 100 % picture. (Runs again at 144 and 192
// DPI.)
TEST_F(TablesOnScreen, PicturesFollowTheScaleRulePixelForPixel) {
  const fw::Scale s(fw::ScalePercentForDpi(ScreenDpi()));
  for (const Tab& t : kTabs) {
    SCOPED_TRACE(t.name);
    const Picture pic = StoredPicture(t.picture);
    ASSERT_GT(pic.width, 0) << "stored picture missing";
    ASSERT_TRUE(shown_.count(t.name)) << "the dialog did not run";
    const Shown& shown = shown_[t.name];
    const int wide = s.Edge(pic.width), high = s.Edge(pic.height);
    // A picture drawn for the scale is shown as it is stored.
    const Picture own =
        s.IsIdentity() ? pic
                       : StoredPicture(std::string(t.picture) + "_" + std::to_string(s.Percent()));
    ASSERT_EQ(own.width, wide) << "no picture stored for this scale";
    ASSERT_EQ(own.height, high);
    ASSERT_LE(shown.origin.x + wide, shown.shot.width);
    ASSERT_LE(shown.origin.y + high, shown.shot.height);
    int wrong = 0;
    std::string first;
    for (int y = 0; y < high; ++y)
      for (int x = 0; x < wide; ++x) {
        const POINT at = {shown.origin.x + x, shown.origin.y + y};
        if (PtInRect(&shown.panel, at)) continue;
        const COLORREF live = shown.shot.Pixel(at.x, at.y);
        if (live != own.At(x, y) && ++wrong <= 8)
          first.append(" ").append(std::to_string(x)).append(",").append(std::to_string(y));
      }
    EXPECT_EQ(wrong, 0) << "of " << wide * high << " device pixels, first at" << first;
  }
}

}  // namespace
}  // namespace rf::test
