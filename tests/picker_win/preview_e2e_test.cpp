// The preview popup end to end: it opens when the pointer rests on a cell,
// shows what the cell holds, keeps clear of the cell and of the mouse, and
// goes away whenever the user does something else.
#include <gtest/gtest.h>

#include <sstream>

#include "plugin_fixture.h"
#include "popup_helpers.h"

namespace rf::test {
namespace {

using host::Control;
using host::GetText;

// Twice the rest the popup waits for.
constexpr DWORD kMoreThanARest = 1000;

class PreviewE2e : public DeliveredPluginTest {};

struct Sample {
  const char* picture;
  const char* tab_control;  // the tab control that shows the picture's page
  int tab;
  int index, rows, cell_height;
  const char* text;  // name, U+ number and entity, one a line
};

// A cell of every table kind.
const Sample kSamples[] = {
    {"IANSI", "PCChar", 0, 0, 8, 24, "EURO SIGN\nU+20AC\n&euro;"},
    {"IISO8859_1", "PCiso", 0, 14, 6, 27, "REGISTERED SIGN\nU+00AE\n&reg;"},
    {"ICP734", "PCChar", 2, 1, 8, 24, "WHITE SMILING FACE\nU+263A\n"},
    {"ITechnik", "PCChar", 4, 25, 8, 24, "LESS-THAN OR EQUAL TO\nU+2264\n&le;"},
    {"IGrafik", "PCChar", 5, 48, 8, 24, "BOX DRAWINGS LIGHT VERTICAL\nU+2502\n&boxv;"},
};

POINT CellCentre(const Sample& s) {
  return {s.index / s.rows * 18 + 9, s.index % s.rows * s.cell_height + s.cell_height / 2};
}

bool Overlaps(const RECT& a, const RECT& b) {
  RECT r;
  return IntersectRect(&r, &a, &b) != FALSE;
}

TEST_F(PreviewE2e, RestingShowsTheCellWithoutTakingAnything) {
  std::vector<std::string> texts;
  std::ostringstream problems;
  const RunResult r = copy_->Run([&](HWND d) {
    host::SelectTab(Control(d, "PCChar"), 1);
    for (const Sample& s : kSamples) {
      if (std::string(s.tab_control) == "PCiso") host::SelectTab(Control(d, "PCChar"), 1);
      host::SelectTab(Control(d, s.tab_control), s.tab);
      HWND pic = Control(d, s.picture);
      const POINT c = CellCentre(s);
      // Still nothing shortly after the move: it waits for a rest. On a
      // busy machine the window system may report the pointer's warp late,
      // as a leave: the rest is tried again from another point of the cell.
      bool shown = false;
      for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        if (!PointAt(pic, c.x + attempt, c.y)) problems << "the pointer cannot be moved\n";
        if (attempt == 0 && Showing(kPreviewName)) problems << s.picture << ": shown at once\n";
        shown = WaitUntil([] { return Showing(kPreviewName); });
      }
      if (!shown) {
        problems << s.picture << ": no preview\n";
        texts.emplace_back();
        continue;
      }
      HWND preview = TopLevelWindowNamed(kPreviewName);
      texts.push_back(GetText(preview));
      RECT popup, cell = {c.x - 9, c.y - s.cell_height / 2, c.x + 10, c.y + s.cell_height / 2 + 1};
      GetWindowRect(preview, &popup);
      MapWindowPoints(pic, HWND_DESKTOP, reinterpret_cast<POINT*>(&cell), 2);
      if (Overlaps(popup, cell)) problems << s.picture << ": covers its cell\n";
      MONITORINFO m = {sizeof m};
      GetMonitorInfoA(MonitorFromWindow(d, MONITOR_DEFAULTTONEAREST), &m);
      RECT inside;
      IntersectRect(&inside, &popup, &m.rcWork);
      if (!EqualRect(&inside, &popup)) problems << s.picture << ": outside the work area\n";
      if (FocusOf(d) == preview || ActiveOf(d) == preview || GetForegroundWindow() == preview)
        problems << s.picture << ": took the focus or the activation\n";
      if (GetWindow(preview, GW_OWNER) != d) problems << s.picture << ": not owned by the picker\n";
      // Leaving the picture hides it.
      ParkPointer();
      SendMessageA(pic, WM_MOUSELEAVE, 0, 0);
      if (!WaitUntil([] { return !Showing(kPreviewName); }))
        problems << s.picture << ": stays after leaving\n";
    }
    ParkPointer();
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(problems.str(), "");
  ASSERT_EQ(texts.size(), std::size(kSamples));
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], kSamples[i].text);
}

TEST_F(PreviewE2e, EmptyCellsAndTheFrameShowNothing) {
  bool shown_on_empty = true, shown_on_frame = true;
  const RunResult r = copy_->Run([&](HWND d) {
    host::SelectTab(Control(d, "PCChar"), 0);
    HWND pic = Control(d, "IANSI");
    host::MouseMove(pic, 9, 36);  // cell 1: code 0x81, no character
    Sleep(kMoreThanARest);
    host::Sync(d);
    shown_on_empty = Showing(kPreviewName);
    host::MouseMove(pic, 1, 1);
    Sleep(kMoreThanARest);
    host::Sync(d);
    shown_on_frame = Showing(kPreviewName);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_FALSE(shown_on_empty);
  EXPECT_FALSE(shown_on_frame);
}

TEST_F(PreviewE2e, HidesOnPressTabChangeDeactivationAndClose) {
  std::ostringstream problems;
  std::string appended, through;
  const RunResult r = copy_->Run([&](HWND d) {
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 4);
    host::SelectTab(Control(d, "PCChar"), 0);
    HWND pic = Control(d, "IANSI");
    auto rest = [&](int x, int y) {
      for (int attempt = 0; attempt < 3; ++attempt) {  // as above
        PointAt(pic, x + attempt, y);
        if (WaitUntil([] { return Showing(kPreviewName); })) return true;
      }
      return false;
    };
    // It follows the pointer to the next cell at once.
    if (!rest(9, 12)) problems << "no preview\n";
    PointAt(pic, 27, 12);  // cell 8: code 0x88, circumflex
    host::Sync(d);
    if (GetText(TopLevelWindowNamed(kPreviewName)).rfind("MODIFIER LETTER CIRCUMFLEX", 0) != 0)
      problems << "did not follow\n";
    // Clicks go through it: the window under a point of the popup that
    // lies over the picture is the picture.
    RECT popup;
    GetWindowRect(TopLevelWindowNamed(kPreviewName), &popup);
    POINT inside = {popup.left + 10, popup.top + 10};
    through = host::NameOf(WindowFromPoint(inside));
    // A press hides it (and appends as ever); it stays away on that cell.
    host::Click(pic, 27, 12);
    if (Showing(kPreviewName)) problems << "stays after a press\n";
    host::MouseMove(pic, 28, 13);
    Sleep(kMoreThanARest);
    host::Sync(d);
    if (Showing(kPreviewName)) problems << "back on the pressed cell\n";
    appended = GetText(Control(d, "EdRueck"));
    // A tab change.
    if (!rest(9, 60)) problems << "no preview before the tab change\n";
    host::SelectTab(Control(d, "PCChar"), 4);
    if (!WaitUntil([] { return !Showing(kPreviewName); })) problems << "stays on a tab change\n";
    // Deactivation: the search takes the activation.
    host::SelectTab(Control(d, "PCChar"), 0);
    if (!rest(9, 84)) problems << "no preview before the deactivation\n";
    HWND focus_before = FocusOf(d);
    PostCtrlF(focus_before);
    if (!WaitUntil([] { return !Showing(kPreviewName); })) problems << "stays when inactive\n";
    WaitUntil([&] { return host::NameOf(FocusOf(d)) == "EdSuche"; });
    host::PostKey(FocusOf(d), VK_ESCAPE);
    if (!WaitUntil([&] { return FocusOf(d) == focus_before; }))
      problems << "the search did not give the focus back\n";
    // Closing the picker.
    if (!rest(9, 108)) {
      HWND active = ActiveOf(d);
      problems << "no preview before the close (active: "
               << (active ? host::NameOf(active) : "none") << ")\n";
    }
    host::PressButton(Control(d, "BtnOK"));
    ParkPointer();
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(problems.str(), "");
  EXPECT_EQ(through, "IANSI");
  EXPECT_EQ(appended, "&circ;");
  EXPECT_EQ(r.text, "&circ;");
  EXPECT_FALSE(Showing(kPreviewName));
}

}  // namespace
}  // namespace rf::test
