// The search window end to end on the real module: opened from the
// keyboard, filtering as one types, Enter showing, filling and appending
// as a hover and a click do, Escape closing only itself.
#include <gtest/gtest.h>

#include "plugin_fixture.h"
#include "popup_helpers.h"

namespace rf::test {
namespace {

using host::Control;
using host::GetText;

class SearchE2e : public DeliveredPluginTest {
 protected:
  // Waits for the search to show with the focus in its edit.
  static HWND WaitForSearchEdit(HWND dialog) {
    HWND edit = nullptr;
    WaitUntil([&] {
      HWND search = TopLevelWindowNamed(kSearchName);
      edit = search && IsWindowVisible(search) ? host::FindControl(search, "EdSuche") : nullptr;
      return edit && FocusOf(dialog) == edit;
    });
    return edit;
  }
};

// Open, Ctrl+F, type, Enter, type, Enter, Escape, Enter: the whole run by
// keys posted to whatever has the focus, not one mouse message.
TEST_F(SearchE2e, KeyboardAloneReturnsTheChosenForms) {
  std::string after_euro, fields, tab, after_escape_focus;
  bool picker_after_escape = false, search_after_escape = true;
  const RunResult r = copy_->Run([&](HWND d) {
    PostCtrlF(FocusOf(d));
    HWND edit = WaitForSearchEdit(d);
    ASSERT_TRUE(edit);
    host::TypeText(edit, "euro");
    host::PostKey(FocusOf(d), VK_RETURN);
    host::Sync(d);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(d) == edit; }));
    after_euro = GetText(Control(d, "EdRueck"));
    for (const char* f :
         {"EdZeichenNr", "EdDez", "EdHex", "EdEntitie", "EdUser1", "EdUser2", "EdUser3"})
      fields += GetText(Control(d, f)) + " ";
    tab = std::to_string(host::SelectedTab(Control(d, "PCChar")));
    // The query is selected after a choice: typing replaces it.
    host::TypeText(FocusOf(d), "nbsp");
    host::PostKey(FocusOf(d), VK_RETURN);
    host::Sync(d);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(d) == edit; }));
    host::PostKey(FocusOf(d), VK_ESCAPE);
    host::Sync(d);
    WaitUntil([&] { return FocusOf(d) == Control(d, "EdRueck"); });
    search_after_escape = Showing(kSearchName);
    picker_after_escape = IsWindowVisible(d) != FALSE;
    HWND focus = FocusOf(d);
    after_escape_focus = focus ? host::NameOf(focus) : "";
    host::PostKey(focus, VK_RETURN);
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(after_euro, "&euro;");
  EXPECT_EQ(fields, "0 &#8364; &#x20AC; &euro; \\0020AC \\u20AC %E2%82%AC ");
  EXPECT_EQ(tab, "0");  // ANSI: the table on show (ISO 8859-1) has no euro sign
  EXPECT_FALSE(search_after_escape);
  EXPECT_TRUE(picker_after_escape);
  EXPECT_EQ(after_escape_focus, "EdRueck");
  EXPECT_EQ(r.text, "&euro;&nbsp;");
  EXPECT_EQ(r.kind, 1);
}

TEST_F(SearchE2e, CtrlFAndF3OpenOneWindowThatFiltersLive) {
  std::size_t windows = 0;
  std::vector<std::string> euro_rows, none_rows, reg_rows, shy_rows;
  std::string owner, focus_after_moves;
  std::vector<int> moves;
  const RunResult r = copy_->Run([&](HWND d) {
    PostCtrlF(FocusOf(d));
    HWND edit = WaitForSearchEdit(d);
    ASSERT_TRUE(edit);
    host::PostKey(edit, VK_F3);
    host::PostKey(Control(d, "EdRueck"), VK_F3);
    host::Sync(d);
    windows = TopLevelWindowsNamed(kSearchName).size();
    HWND search = TopLevelWindowNamed(kSearchName);
    owner = host::NameOf(GetWindow(search, GW_OWNER));
    HWND list = Control(search, "LbTreffer");
    host::SetText(edit, "euro");
    host::Sync(d);
    euro_rows = ResultRows(list);
    // The arrows and the page keys move through the list from the edit.
    host::SetText(edit, "pfeil");
    host::Sync(d);
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_NEXT}) {
      host::PostKey(edit, key);
      host::Sync(d);
      moves.push_back(static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));
    }
    focus_after_moves = host::NameOf(FocusOf(d));
    host::SetText(edit, "xyzzy");
    host::Sync(d);
    none_rows = ResultRows(list);
    host::SetText(edit, "&#xAE;");
    host::Sync(d);
    reg_rows = ResultRows(list);
    // Pasted rubbish of any length gives a list or "Keine Treffer".
    std::string junk(10000, 'x');
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(1 + i * 37 % 255);
    host::SetText(edit, junk);
    host::Sync(d);
    shy_rows = ResultRows(list);
    host::PostKey(FocusOf(d), VK_ESCAPE);
    host::Sync(d);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(windows, 1u);
  EXPECT_EQ(owner, "TCharSet");
  ASSERT_EQ(moves.size(), 6u);
  EXPECT_EQ(moves[0], 1);
  EXPECT_EQ(moves[1], 2);
  EXPECT_EQ(moves[2], 1);
  EXPECT_GT(moves[3], 3);  // a page of the list's height down
  EXPECT_EQ(moves[4], 1);  // and up again
  EXPECT_EQ(moves[5], moves[3]);
  EXPECT_EQ(focus_after_moves, "EdSuche");
  EXPECT_EQ(euro_rows, (std::vector<std::string>{"EURO SIGN\t&euro;\tANSI, Zelle 0"}));
  EXPECT_EQ(none_rows, (std::vector<std::string>{"Keine Treffer"}));
  EXPECT_EQ(reg_rows, (std::vector<std::string>{"REGISTERED SIGN\t&reg;\tISO 8859-1, Zelle 14"}));
  EXPECT_EQ(shy_rows.size(), 1u);
  EXPECT_EQ(r.kind, 0);
}

TEST_F(SearchE2e, EscapeClosesOnlyTheSearchAndDoubleClickChooses) {
  std::string result_after_escape;
  bool picker_visible = false;
  const RunResult r = copy_->Run([&](HWND d) {
    host::SetText(Control(d, "EdRueck"), "x");
    host::PostKey(Control(d, "EdRueck"), VK_F3);
    HWND edit = WaitForSearchEdit(d);
    ASSERT_TRUE(edit);
    host::PostKey(edit, VK_ESCAPE);
    host::Sync(d);
    picker_visible = IsWindowVisible(d) != FALSE;
    result_after_escape = GetText(Control(d, "EdRueck"));
    // Opened again, on the table of the ISO 8859-1 tab: a double click on
    // the row of "shy" appends the decimal form, as chosen.
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 0);
    host::PostKey(Control(d, "EdRueck"), VK_F3);
    edit = WaitForSearchEdit(d);
    ASSERT_TRUE(edit);
    host::SetText(edit, "shy");
    host::Sync(d);
    HWND list = Control(TopLevelWindowNamed(kSearchName), "LbTreffer");
    host::MouseDown(list, 40, 10);
    host::MouseUp(list, 40, 10);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 10));
    host::MouseUp(list, 40, 10);
    host::Sync(d);
    // Closing the picker closes the search with it.
    host::PressButton(Control(d, "BtnOK"));
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_TRUE(picker_visible);
  EXPECT_EQ(result_after_escape, "x");
  EXPECT_EQ(r.text, "x&#173;");
  EXPECT_EQ(r.kind, 1);
  EXPECT_FALSE(Showing(kSearchName));
}

// Ctrl+F as keys from the keyboard: the control key held while F goes down.
TEST_F(SearchE2e, TheKeyboardsCtrlFOpensTheSearch) {
  bool opened = false;
  const RunResult r = copy_->Run([&](HWND d) {
    WaitUntil([&] { return GetForegroundWindow() == d; });
    INPUT keys[4] = {};
    const WORD vk[4] = {VK_CONTROL, 'F', 'F', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
      keys[i].type = INPUT_KEYBOARD;
      keys[i].ki.wVk = vk[i];
      keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
    opened = WaitUntil([] { return Showing(kSearchName); });
    host::Sync(d);
    host::PostKey(FocusOf(d), VK_ESCAPE);
    host::Sync(d);
    host::PressButton(Control(d, "BtnOK"));
  });
  EXPECT_TRUE(r.script_ok);
  EXPECT_TRUE(opened);
  // Nothing was typed into the result line by the keys.
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.kind, 1);
}

}  // namespace
}  // namespace rf::test
