// The tables' keyboard cursor end to end on the real module: Tab reaches
// the picture on show, the keys move the cursor and show what a hover
// shows, Space picks and keeps the focus, a screen reader hears every move,
// the focus rectangle appears only for the keyboard, and a high-contrast
// theme recolours the pictures.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "framework/scale.h"
#include "picker/Hover.h"
#include "plugin_fixture.h"
#include "popup_helpers.h"
#include "tests/support/iat_hook.h"

namespace rf::test {
namespace {

using chardata::TCharTableKind;
using host::Control;
using host::GetText;

constexpr const char* kFields[] = {"EdZeichenNr", "EdDez",   "EdHex",  "EdEntitie",
                                   "EdUser1",     "EdUser2", "EdUser3"};

std::string Fields(HWND d) {
  std::string all;
  for (const char* f : kFields) all += GetText(Control(d, f)) + "|";
  return all;
}

std::string FocusName(HWND d) {
  HWND f = FocusOf(d);
  std::string name = host::NameOf(f);
  return name.empty() ? host::NameOf(GetParent(f)) : name;  // radio items
}

// Tab from wherever the focus is until it reaches the control.
bool TabTo(HWND d, const std::string& name) {
  for (int i = 0; i < 20 && FocusName(d) != name; ++i) {
    host::PostKey(FocusOf(d), VK_TAB);
    host::Sync(d);
  }
  return FocusName(d) == name;
}

// Ctrl or Shift with a key, as the keyboard gives them: the handlers read
// the modifier's state, which posted messages do not set.
void ModifiedKey(HWND d, WORD modifier, WORD key) {
  WaitUntil([&] { return GetForegroundWindow() == d; });
  INPUT keys[4] = {};
  const WORD vk[4] = {modifier, key, key, modifier};
  const DWORD extended = key == VK_HOME || key == VK_END ? KEYEVENTF_EXTENDEDKEY : 0;
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = vk[i];
    keys[i].ki.dwFlags = (i < 2 ? 0 : KEYEVENTF_KEYUP) | (i == 1 || i == 2 ? extended : 0);
  }
  SendInput(4, keys, sizeof(INPUT));
}

// The middle of a cell at the run's display scale, in device pixels.
POINT CellMiddle(const picker::PictureParams& p, int cell, const fw::Scale& s) {
  const picker::CellBox b = picker::CellBounds(p, cell);
  return {(s.Edge(b.left) + s.Edge(b.right)) / 2, (s.Edge(b.top) + s.Edge(b.bottom)) / 2};
}

// The real pointer off the dialog before it opens, waited for: lying over
// a picture, it would hover there (deciding where the cursor starts) and
// open the preview over the pixels compared. Wine may refuse to move it.
void ParkPointerAway() {
  SetCursorPos(0, 0);
  WaitUntil(
      [] {
        POINT now = {};
        GetCursorPos(&now);
        return now.x == 0 && now.y == 0;
      },
      1000);
}

int RunDpi() {
  const char* dpi = std::getenv("RF_DPI");
  return dpi && *dpi ? std::atoi(dpi) : 96;
}

// EVENT_OBJECT_FOCUS for cells (child id > 0), as a screen reader's
// out-of-context hook hears them on the thread that runs the dialog.
struct CellEvents {
  std::mutex lock;
  std::vector<std::pair<std::string, LONG>> seen;
};
CellEvents g_cell_events;

void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                           DWORD) {
  if (event != EVENT_OBJECT_FOCUS || object != OBJID_CLIENT || child <= 0) return;
  const std::lock_guard guard(g_cell_events.lock);
  g_cell_events.seen.emplace_back(host::NameOf(hwnd), child);
}

class KeyboardE2e : public DeliveredPluginTest {
 protected:
  const fw::Scale scale_{fw::ScalePercentForDpi(RunDpi())};
};

TEST_F(KeyboardE2e, TabReachesThePictureRightAfterItsTabControl) {
  std::vector<std::string> iso, ansi, back;
  std::string on_arrival, hovered;
  ParkPointerAway();
  const RunResult r = copy_->Run([&](HWND d) {
    host::SelectTab(Control(d, "PCiso"), 0);
    TabTo(d, "EdRueck");
    hovered = GetText(Control(d, "EdZeichenNr"));
    for (int i = 0; i < 15; ++i) {
      iso.push_back(FocusName(d));
      if (iso.back() == "IISO8859_1") on_arrival = Fields(d);
      host::PostKey(FocusOf(d), VK_TAB);
      host::Sync(d);
    }
    host::SelectTab(Control(d, "PCChar"), 0);
    TabTo(d, "PCChar");
    for (int i = 0; i < 3; ++i) {
      host::PostKey(FocusOf(d), VK_TAB);
      host::Sync(d);
      ansi.push_back(FocusName(d));
    }
    // Shift+Tab walks back into the table.
    for (const char* want : {"EdZeichenNr", "IANSI", "PCChar"}) {
      ModifiedKey(d, VK_SHIFT, VK_TAB);
      WaitUntil([&] { return FocusName(d) == want; });
      back.push_back(FocusName(d));
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_TRUE(r.script_ok);
  const std::vector<std::string> want_iso = {"EdRueck",      "BtnOK",       "BtnAbbruch", "BtnInfo",
                                             "RGAusgabeTyp", "EdHex",       "EdEntitie",  "EdUser1",
                                             "EdUser2",      "EdUser3",     "PCChar",     "PCiso",
                                             "IISO8859_1",   "EdZeichenNr", "EdRueck"};
  EXPECT_EQ(iso, want_iso);
  EXPECT_EQ(ansi, (std::vector<std::string>{"IANSI", "EdZeichenNr", "EdRueck"}));
  EXPECT_EQ(back, (std::vector<std::string>{"EdZeichenNr", "IANSI", "PCChar"}));
  // The first cell with a number (the no-break space, drawn empty), unless
  // the real pointer lay on the picture as it opened: then its cell.
  if (hovered.empty()) {
    EXPECT_EQ(on_arrival.substr(0, on_arrival.find('|', 2) + 1), "0|&#160;|");
  } else {
    EXPECT_EQ(on_arrival.substr(0, on_arrival.find('|')), hovered);
  }
}

// Every key shows what a hover at the reached cell's middle shows, a hover
// elsewhere leaves the cursor where it was, and a screen reader hears one
// focus event on arrival and one per move with the cell's child id.
TEST_F(KeyboardE2e, KeysMoveTheCursorAndShowWhatAHoverThereShows) {
  struct Step {
    WORD key;
    bool ctrl;
    int cell;
  };
  // ANSI: 16 columns of 8 cells, cell 0 the euro sign.
  const Step steps[] = {{VK_UP, false, 0},    {VK_LEFT, false, 0},    {VK_DOWN, false, 1},
                        {VK_DOWN, false, 2},  {VK_RIGHT, false, 10},  {VK_RIGHT, false, 18},
                        {VK_END, false, 122}, {VK_RIGHT, false, 122}, {VK_HOME, false, 2},
                        {VK_UP, false, 1},    {VK_END, true, 127},    {VK_DOWN, false, 127},
                        {VK_HOME, true, 0}};
  const picker::PictureParams& p = picker::PictureOf(chardata::ctANSI);
  std::vector<std::string> wrong;
  std::string after_stray_hover;
  {
    const std::lock_guard guard(g_cell_events.lock);
    g_cell_events.seen.clear();
  }
  HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocusEvent,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  ParkPointerAway();
  const RunResult r = copy_->Run([&](HWND d) {
    host::SelectTab(Control(d, "PCChar"), 0);
    EXPECT_TRUE(TabTo(d, "IANSI"));
    HWND pic = Control(d, "IANSI");
    HWND number = Control(d, "EdZeichenNr");
    for (const Step& step : steps) {
      const std::string want_number = std::to_string(step.cell);
      if (step.ctrl) {
        ModifiedKey(d, VK_CONTROL, step.key);
        WaitUntil([&] { return GetText(number) == want_number; });
      } else {
        host::PostKey(pic, step.key);
      }
      host::Sync(d);
      const std::string by_key = Fields(d);
      const POINT m = CellMiddle(p, step.cell, scale_);
      host::MouseMove(pic, m.x, m.y);
      const std::string by_hover = Fields(d);
      if (by_key != by_hover || GetText(number) != want_number)
        wrong.push_back(std::to_string(step.key) + ": " + by_key + " hover " + by_hover);
      if (step.cell == 10) {
        const POINT away = CellMiddle(p, 100, scale_);
        host::MouseMove(pic, away.x, away.y);
      }
    }
    // After a stray hover the next key shows the cursor's cell again.
    const POINT away = CellMiddle(p, 77, scale_);
    host::MouseMove(pic, away.x, away.y);
    host::PostKey(pic, VK_LEFT);
    host::Sync(d);
    after_stray_hover = GetText(number);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  UnhookWinEvent(hook);
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(wrong, std::vector<std::string>{});
  EXPECT_EQ(after_stray_hover, "0");  // Left at cell 0 stays there
  std::vector<std::pair<std::string, LONG>> want = {{"IANSI", 1}};
  int at = 0;
  for (const Step& step : steps) {
    if (step.cell != at) want.emplace_back("IANSI", 1 + step.cell);
    at = step.cell;
  }
  const std::lock_guard guard(g_cell_events.lock);
  EXPECT_EQ(g_cell_events.seen, want);
}

// Space appends the cursor's form as a click on its cell does, once per
// press on code page 850 too, and leaves the focus in the table; Enter and
// Escape there neither close the dialog nor press a button.
TEST_F(KeyboardE2e, SpaceAppendsAsAClickDoesAndKeepsTheFocus) {
  std::string after_spaces, focus_after_spaces, after_enter_escape, focus_after_enter_escape;
  std::string after_click, focus_after_click, after_cp850, focus_after_cp850;
  constexpr int kRepeats = 150;
  DWORD repeat_ms = 0;
  bool open_after_enter_escape = false;
  ParkPointerAway();
  const RunResult r = copy_->Run([&](HWND d) {
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 0);
    host::SelectTab(Control(d, "PCiso"), 0);
    EXPECT_TRUE(TabTo(d, "IISO8859_1"));
    HWND pic = Control(d, "IISO8859_1");
    // From cell 0 to cell 14 (the registered sign), then Space twice.
    for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_SPACE, VK_SPACE})
      host::PostKey(pic, key);
    host::Sync(d);
    after_spaces = GetText(Control(d, "EdRueck"));
    focus_after_spaces = FocusName(d);
    host::PostKey(pic, VK_RETURN);
    host::PostKey(pic, VK_ESCAPE);
    host::Sync(d);
    open_after_enter_escape = IsWindowVisible(d) != FALSE;
    after_enter_escape = GetText(Control(d, "EdRueck"));
    focus_after_enter_escape = FocusName(d);
    const POINT m = CellMiddle(picker::PictureOf(chardata::ctISO8859_1), 14, scale_);
    host::MouseMove(pic, m.x, m.y);
    host::Click(pic, m.x, m.y);
    host::Sync(d);
    after_click = GetText(Control(d, "EdRueck"));
    focus_after_click = FocusName(d);
    host::SelectTab(Control(d, "PCChar"), 3);
    EXPECT_TRUE(TabTo(d, "ICP850"));
    host::PostKey(Control(d, "ICP850"), VK_SPACE);
    host::Sync(d);
    after_cp850 = GetText(Control(d, "EdRueck"));
    focus_after_cp850 = FocusName(d);
    // A key held down: every repeat handled before the next comes (a fast
    // keyboard repeats some 30 times a second).
    const DWORD start = GetTickCount();
    const WPARAM round[] = {VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_END, VK_HOME};
    // Each one waited for, so that the two cells' repaints lie between.
    for (int i = 0; i < kRepeats; ++i) {
      PostMessageA(Control(d, "ICP850"), WM_KEYDOWN, round[i / 25 % 6], 1 | (1u << 30));
      host::Sync(d);
    }
    repeat_ms = GetTickCount() - start;
    host::PressButton(Control(d, "BtnOK"));
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(after_spaces, "&#174;&#174;");
  EXPECT_EQ(focus_after_spaces, "IISO8859_1");
  EXPECT_TRUE(open_after_enter_escape);
  EXPECT_EQ(after_enter_escape, "&#174;&#174;");
  EXPECT_EQ(focus_after_enter_escape, "IISO8859_1");
  EXPECT_EQ(after_click, "&#174;&#174;&#174;");
  EXPECT_EQ(focus_after_click, "EdRueck");
  // Cell 0 of code page 850 has no number: the cursor starts on the smiley.
  EXPECT_EQ(after_cp850, "&#174;&#174;&#174;&#9786;");
  EXPECT_EQ(focus_after_cp850, "ICP850");
  EXPECT_LT(repeat_ms, kRepeats * 30u);
  std::printf("%d repeated keys handled in %lu ms\n", kRepeats, repeat_ms);
  EXPECT_EQ(r.text, "&#174;&#174;&#174;&#9786;");
  EXPECT_EQ(r.kind, 1);
}

// The whole run without a mouse message: Tab to the tab row, Left to
// "ANSI", Tab into the table, Space on the euro sign, four cells right to
// the no-break space, Space, Tab to the result line, Enter.
TEST_F(KeyboardE2e, KeyboardAlonePicksEuroAndNbsp) {
  std::string fields_on_euro, fields_on_nbsp;
  ParkPointerAway();
  const RunResult r = copy_->Run([&](HWND d) {
    EXPECT_TRUE(TabTo(d, "PCChar"));
    host::PostKey(FocusOf(d), VK_LEFT);
    host::Sync(d);
    EXPECT_TRUE(WaitUntil([&] { return host::SelectedTab(Control(d, "PCChar")) == 0; }));
    EXPECT_TRUE(TabTo(d, "IANSI"));
    fields_on_euro = Fields(d);
    host::PostKey(FocusOf(d), VK_SPACE);
    for (int i = 0; i < 4; ++i) host::PostKey(FocusOf(d), VK_RIGHT);
    host::Sync(d);
    fields_on_nbsp = Fields(d);
    host::PostKey(FocusOf(d), VK_SPACE);
    host::Sync(d);
    EXPECT_TRUE(TabTo(d, "EdRueck"));
    host::PostKey(FocusOf(d), VK_RETURN);
    host::Sync(d);
    if (IsWindowVisible(d)) host::PressButton(Control(d, "BtnAbbruch"));  // lost on the way
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(fields_on_euro, "0|&#8364;|&#x20AC;|&euro;|\\0020AC|\\u20AC|%E2%82%AC|");
  EXPECT_EQ(fields_on_nbsp, "32|&#160;|&#x00A0;|&nbsp;|\\0000A0|\\u00A0|%C2%A0|");
  EXPECT_EQ(r.text, "&euro;&nbsp;");
  EXPECT_EQ(r.kind, 1);
}

// Screen pixels of a picture, top to bottom, as COLORREFs.
struct Pixels {
  int width = 0;
  std::vector<COLORREF> at;
  bool operator==(const Pixels&) const = default;
};

Pixels PicturePixels(HWND pic) {
  const host::Screenshot shot = host::CaptureWindow(pic, true);
  Pixels out{shot.width, {}};
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) out.at.push_back(shot.Pixel(x, y));
  return out;
}

// The pixels that differ between two shots: dots of the colour on the
// ring just inside a cell's grid lines, and any other change (stray).
struct RingChanges {
  int dots = 0, stray = 0, perimeter = 0;
};

RingChanges ChangesOnRing(const Pixels& before, const Pixels& after, const picker::PictureParams& p,
                          int cell, const fw::Scale& s, COLORREF dot) {
  const picker::CellBox box = picker::CellBounds(p, cell);
  const RECT ring = {s.Edge(box.left + 1), s.Edge(box.top + 1), s.Edge(box.right),
                     s.Edge(box.bottom)};
  RingChanges c;
  c.perimeter = 2 * (ring.right - ring.left + ring.bottom - ring.top) - 4;
  for (std::size_t i = 0; i < before.at.size() && i < after.at.size(); ++i) {
    if (before.at[i] == after.at[i]) continue;
    const int x = static_cast<int>(i) % before.width, y = static_cast<int>(i) / before.width;
    const bool inside = x >= ring.left && x < ring.right && y >= ring.top && y < ring.bottom;
    const bool on_edge =
        x == ring.left || x == ring.right - 1 || y == ring.top || y == ring.bottom - 1;
    ++(inside && on_edge && after.at[i] == dot ? c.dots : c.stray);
  }
  return c;
}

class ScaledKeyboard : public KeyboardE2e {};

// Nothing changes by a pixel for the mouse: a hover and a click leave the
// picture as it was. Tab brings a dotted rectangle on the pixels just
// inside the cursor cell's grid lines (the cell the hover showed, as the
// table never had the focus), a move takes it along, and Tab on takes it
// away again.
TEST_F(ScaledKeyboard, TheFocusRectangleComesOnlyWithTheKeyboardInsideTheGridLines) {
  const picker::PictureParams& p = picker::PictureOf(chardata::ctISO8859_1);
  Pixels before, after_click, focused, moved, after_tab_on;
  ParkPointerAway();
  const RunResult r = copy_->Run([&](HWND d) {
    host::SelectTab(Control(d, "PCiso"), 0);
    HWND pic = Control(d, "IISO8859_1");
    before = PicturePixels(pic);
    const POINT m = CellMiddle(p, 14, scale_);
    host::MouseMove(pic, m.x, m.y);
    host::Click(pic, m.x, m.y);
    host::Sync(d);
    after_click = PicturePixels(pic);
    TabTo(d, "IISO8859_1");
    focused = PicturePixels(pic);
    host::PostKey(pic, VK_DOWN);
    host::Sync(d);
    moved = PicturePixels(pic);
    host::PostKey(pic, VK_TAB);
    host::Sync(d);
    after_tab_on = PicturePixels(pic);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_TRUE(r.script_ok);
  ASSERT_GT(before.width, 0);
  EXPECT_TRUE(after_click == before);
  EXPECT_TRUE(after_tab_on == before);
  const RingChanges ring = ChangesOnRing(before, focused, p, 14, scale_, RGB(0, 0, 0));
  EXPECT_EQ(ring.stray, 0);
  // Every other pixel of the ring, where the picture does not draw black.
  EXPECT_GE(ring.dots, ring.perimeter / 2 - 4);
  EXPECT_LE(ring.dots, ring.perimeter / 2 + 1);
  // A move leaves no trace on the cell it left.
  const RingChanges next = ChangesOnRing(before, moved, p, 15, scale_, RGB(0, 0, 0));
  EXPECT_EQ(next.stray, 0);
  EXPECT_GE(next.dots, next.perimeter / 2 - 4);
}

// The module's view of the system's theme, replaced in its import table.
std::atomic<bool> g_high_contrast{false};
decltype(&SystemParametersInfoW) g_real_spi_w = nullptr;
decltype(&GetSysColor) g_real_sys_color = nullptr;
constexpr COLORREF kInk = RGB(255, 255, 0), kPaper = RGB(0, 0, 128), kFocus = RGB(0, 255, 0);

BOOL WINAPI FakeSpiW(UINT action, UINT param, PVOID data, UINT flags) {
  if (action == SPI_GETHIGHCONTRAST && data) {
    auto* hc = static_cast<HIGHCONTRASTW*>(data);
    hc->dwFlags = g_high_contrast ? HCF_HIGHCONTRASTON | HCF_AVAILABLE : HCF_AVAILABLE;
    hc->lpszDefaultScheme = nullptr;
    return TRUE;
  }
  return g_real_spi_w(action, param, data, flags);
}

DWORD WINAPI FakeSysColor(int index) {
  if (g_high_contrast) {
    if (index == COLOR_WINDOWTEXT) return kInk;
    if (index == COLOR_WINDOW) return kPaper;
    if (index == COLOR_HIGHLIGHT) return kFocus;
  }
  return g_real_sys_color(index);
}

// The theme switched on and off at run time, told by the messages the
// system sends its top-level windows: black becomes the window text colour,
// silver the window colour, the cursor the highlight colour; off again, the
// picture is as stored.
TEST_F(ScaledKeyboard, AHighContrastThemeRecoloursThePicturesAtRunTime) {
  HMODULE module = copy_->Plugin().module;
  g_real_spi_w = reinterpret_cast<decltype(g_real_spi_w)>(ReplaceImport(
      module, "USER32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(FakeSpiW)));
  g_real_sys_color = reinterpret_cast<decltype(g_real_sys_color)>(
      ReplaceImport(module, "USER32.dll", "GetSysColor", reinterpret_cast<void*>(FakeSysColor)));
  ASSERT_TRUE(g_real_spi_w);
  ASSERT_TRUE(g_real_sys_color);
  g_high_contrast = false;
  const picker::PictureParams& p = picker::PictureOf(chardata::ctISO8859_1);
  Pixels plain, themed, themed_focused, plain_again;
  int cursor = -1;
  ParkPointerAway();
  const RunResult r = copy_->Run([&](HWND d) {
    host::SelectTab(Control(d, "PCiso"), 0);
    HWND pic = Control(d, "IISO8859_1");
    // Where Wine keeps the real pointer over the picture, its preview is
    // put away by a press, as in the test before.
    const POINT m = CellMiddle(p, 14, scale_);
    host::MouseMove(pic, m.x, m.y);
    host::Click(pic, m.x, m.y);
    host::Sync(d);
    plain = PicturePixels(pic);
    g_high_contrast = true;
    SendMessageA(d, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    themed = PicturePixels(pic);
    TabTo(d, "IISO8859_1");
    cursor = std::atoi(GetText(Control(d, "EdZeichenNr")).c_str());
    themed_focused = PicturePixels(pic);
    host::PostKey(pic, VK_TAB);
    g_high_contrast = false;
    SendMessageA(d, WM_SYSCOLORCHANGE, 0, 0);
    plain_again = PicturePixels(pic);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  g_high_contrast = false;
  ReplaceImport(module, "USER32.dll", "SystemParametersInfoW",
                reinterpret_cast<void*>(g_real_spi_w));
  ReplaceImport(module, "USER32.dll", "GetSysColor", reinterpret_cast<void*>(g_real_sys_color));
  EXPECT_TRUE(r.script_ok);
  ASSERT_GT(plain.width, 0);
  ASSERT_EQ(plain.at.size(), themed.at.size());
  EXPECT_TRUE(plain_again == plain);
  const fw::Scale& s = scale_;
  int wrong = 0, greys = 0;
  for (std::size_t i = 0; i < plain.at.size(); ++i) {
    const int x = static_cast<int>(i) % plain.width, y = static_cast<int>(i) / plain.width;
    if (x >= s.Edge(p.width) || y >= s.Edge(p.height)) continue;  // beside the picture
    const COLORREF was = plain.at[i], now = themed.at[i];
    if (was == RGB(0, 0, 0)) {
      wrong += now != kInk;
    } else if (was == RGB(192, 192, 192)) {
      wrong += now != kPaper;
    } else {
      // A smoothed glyph's grey of the larger pictures: as far from ink
      // towards paper (yellow 255, 255, 0 to navy 0, 0, 128).
      ++greys;
      const int level = GetRValue(was);
      const int red = GetRValue(now), blue = GetBValue(now);
      const bool between = GetGValue(now) == red &&
                           std::abs(red - 255 * (192 - level) / 192) <= 1 &&
                           std::abs(blue - 128 * level / 192) <= 1;
      wrong += level > 192 || !between;
    }
  }
  EXPECT_EQ(wrong, 0);
  if (s.IsIdentity()) {
    EXPECT_EQ(greys, 0);
  }
  // The cursor's dots in the highlight colour, on its cell's ring.
  ASSERT_GE(cursor, 0);
  const RingChanges ring = ChangesOnRing(themed, themed_focused, p, cursor, scale_, kFocus);
  EXPECT_EQ(ring.stray, 0);
  EXPECT_GE(ring.dots, ring.perimeter / 2 - 4);
}

}  // namespace
}  // namespace rf::test
