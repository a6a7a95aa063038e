// The picker dialog end to end: the real module, loaded as a host loads it,
// driven by window messages from a second thread.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "plugin_fixture.h"

#include <commctrl.h>

namespace rf::test {
namespace {

using host::Control;
using host::GetText;

class PickerTest : public DeliveredPluginTest {};

TEST_F(PickerTest, EveryWayOutSetsResultAndKind) {
  struct Way {
    const char* name;
    std::function<void(HWND)> end;
    std::string text;
    int kind;
  };
  auto type_then = [](std::function<void(HWND)> end) {
    return [end](HWND d) {
      host::TypeText(Control(d, "EdRueck"), "abc");
      end(d);
    };
  };
  const std::vector<Way> ways = {
      {"OK", type_then([](HWND d) { host::PressButton(Control(d, "BtnOK")); }), "abc", 1},
      {"Enter", type_then([](HWND d) { host::PostKey(Control(d, "EdRueck"), VK_RETURN); }), "abc",
       1},
      {"Abbruch", type_then([](HWND d) { host::PressButton(Control(d, "BtnAbbruch")); }), "", 0},
      {"Escape", type_then([](HWND d) { host::PostKey(Control(d, "EdRueck"), VK_ESCAPE); }), "", 0},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    const RunResult r = copy_->Run(way.end);
    EXPECT_TRUE(r.script_ok);
    EXPECT_EQ(r.text, way.text);
    EXPECT_EQ(r.kind, way.kind);
    EXPECT_EQ(r.size_word, static_cast<std::int32_t>(way.text.size() + 5));
  }
}

TEST_F(PickerTest, OtherCloseKeepsThePreviousRunsResult) {
  RunResult r = copy_->Run([](HWND d) {
    host::TypeText(Control(d, "EdRueck"), "&euro;");
    host::PressButton(Control(d, "BtnOK"));
  });
  ASSERT_EQ(r.text, "&euro;");
  // Closed by the window system: neither confirms nor cancels.
  r = copy_->Run([](HWND d) {
    host::TypeText(Control(d, "EdRueck"), "ignored");
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(r.text, "&euro;");
  EXPECT_EQ(r.kind, 1);
  r = copy_->Run([](HWND d) { host::PressButton(Control(d, "BtnAbbruch")); });
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.kind, 0);
  r = copy_->Run([](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); });
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.kind, 0);
}

TEST(PickerUnload, UnloadingRemovesTheModulesWindowClasses) {
  // A host may unload the module and load it again elsewhere: no class of
  // the old module may be left with a procedure that points nowhere.
  const std::string config = DeliveredConfig();
  HMODULE module = nullptr;
  {
    PluginCopy copy(&config);
    module = copy.Plugin().module;
    copy.Run([](HWND d) {
      host::PressButton(Control(d, "BtnInfo"));
      host::PressButton(Control(d, "BtnOK"));
    });
    WNDCLASSA wc;
    EXPECT_TRUE(GetClassInfoA(module, "RfWindow", &wc));
  }
  WNDCLASSA wc;
  for (const char* name : {"RfWindow", "RfReleaseWindow", "TThreadWindow"})
    EXPECT_FALSE(GetClassInfoA(module, name, &wc)) << name;
}

TEST_F(PickerTest, InterfaceVersionBeforeDuringAfter) {
  auto& p = copy_->Plugin();
  EXPECT_EQ(p.InterfaceVersion(), 1);
  EXPECT_EQ(p.ResultKind(), 0);
  int during = 0;
  copy_->Run([&](HWND d) {
    during = p.InterfaceVersion();
    host::PressButton(Control(d, "BtnOK"));
  });
  EXPECT_EQ(during, 1);
  EXPECT_EQ(p.InterfaceVersion(), 1);
}

TEST_F(PickerTest, HostWindowsAreDisabledWhileTheDialogRuns) {
  HWND a = CreateWindowExA(0, "STATIC", "host a", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                           nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowExA(0, "STATIC", "host b", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                           nullptr, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowExA(0, "STATIC", "host c", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
  EnableWindow(b, FALSE);
  bool a_during = true, hidden_during = false;
  copy_->Run([&](HWND d) {
    a_during = IsWindowEnabled(a);
    hidden_during = IsWindowEnabled(hidden);
    host::PressButton(Control(d, "BtnOK"));
  });
  EXPECT_FALSE(a_during);
  EXPECT_TRUE(hidden_during) << "a hidden window is left alone";
  EXPECT_TRUE(IsWindowEnabled(a));
  EXPECT_FALSE(IsWindowEnabled(b)) << "a window disabled before stays disabled";
  DestroyWindow(a);
  DestroyWindow(b);
  DestroyWindow(hidden);
}

TEST_F(PickerTest, LayoutHasEveryControlAtItsPlace) {
  struct Expect {
    const char* name;
    RECT rect;
    const char* caption;
  };
  // The display fields' texts are not checked: a hover under the pointer
  // may have filled them when the dialog opened.
  const std::vector<Expect> expected = {
      {"RGAusgabeTyp", {8, 0, 449, 57}, "Rückgabe Typ:"},
      {"GBAusgabeWert", {8, 64, 449, 121}, "Mögliche Ausgabe Wert:"},
      {"EdDez", {73, 80, 132, 96}, nullptr},
      {"EdHex", {232, 80, 300, 96}, nullptr},
      {"EdEntitie", {360, 80, 440, 96}, nullptr},
      {"EdUser1", {73, 100, 156, 116}, nullptr},
      {"EdUser2", {217, 100, 300, 116}, nullptr},
      {"EdUser3", {360, 100, 440, 116}, nullptr},
      {"PCChar", {8, 128, 449, 353}, ""},
      {"PInfo", {299, 128, 449, 148}, ""},
      {"GBBInfo", {8, 352, 449, 414}, ""},
      {"LblDez", {8, 16, 68, 29}, "Dezimal:"},
      {"LblZeichenNr", {12, 3, 88, 16}, "Zeichen Nr.:"},
      {"EdZeichenNr", {93, 1, 123, 19}, nullptr},
      {"LblRueck", {8, 12, 97, 26}, "Rückgabe Wert:"},
      {"EdRueck", {90, 10, 433, 28}, ""},
      {"BtnOK", {90, 34, 160, 54}, "OK"},
      {"BtnAbbruch", {229, 34, 299, 54}, "Abbruch"},
      {"BtnInfo", {364, 34, 434, 54}, "Info"},
      {"Lbl8859_1", {296, 8, 425, 113}, nullptr},
      {"Lbl8859_11", {296, 8, 393, 41}, "Thai"},
  };
  std::map<std::string, RECT> rects;
  std::map<std::string, std::string> captions;
  RECT client = {};
  std::string title;
  std::vector<std::string> items;
  std::vector<std::pair<int, int>> picture_sizes;
  copy_->Run([&](HWND d) {
    GetClientRect(d, &client);
    title = GetText(d);
    for (const auto& e : expected) {
      HWND h = Control(d, e.name);
      rects[e.name] = host::RectInParent(h);
      captions[e.name] = GetText(h);
    }
    for (HWND item : host::RadioItems(Control(d, "RGAusgabeTyp"))) items.push_back(GetText(item));
    for (const char* name : {"IANSI", "IISO8859_1", "ICP734", "ICP850", "ITechnik", "IGrafik"}) {
      const RECT r = host::RectInParent(Control(d, name));
      picture_sizes.emplace_back(r.right - r.left, r.bottom - r.top);
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_EQ(title, kPickerCaption);
  EXPECT_EQ(client.right, 458);
  EXPECT_EQ(client.bottom, 420);
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    const RECT r = rects[e.name];
    EXPECT_EQ(r.left, e.rect.left);
    EXPECT_EQ(r.top, e.rect.top);
    EXPECT_EQ(r.right, e.rect.right);
    EXPECT_EQ(r.bottom, e.rect.bottom);
    if (e.caption) {
      EXPECT_EQ(captions[e.name], e.caption);
    }
  }
  // The delivered file renames the user forms; the fixed items stay.
  ASSERT_EQ(items.size(), 6u);
  EXPECT_EQ(items[0], "Dezimal &&#nnnn;");
  EXPECT_EQ(items[2], "Hexadezimal &&#xnnnn;");
  EXPECT_EQ(items[4], "Entity &&name;");
  const std::vector<std::pair<int, int>> sizes = {{289, 197}, {289, 169}, {361, 197},
                                                  {361, 197}, {91, 197},  {199, 197}};
  EXPECT_EQ(picture_sizes, sizes);
}

// What a user sees of a tab row: each tab's rectangle in the tab control,
// whether the window under its centre is the tab control itself, and the
// tab a click there selects.
struct TabRow {
  RECT client = {};
  RECT page = {};  // the page area
  int rows = 0;
  bool arrows = false;  // the row scrolls
  std::vector<RECT> tabs;
  std::vector<bool> on_top;
  std::vector<int> selected_by_click;
};

TabRow ReadTabRow(HWND tabs) {
  TabRow row;
  GetClientRect(tabs, &row.client);
  row.page = row.client;
  SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&row.page));
  row.rows = static_cast<int>(SendMessageA(tabs, TCM_GETROWCOUNT, 0, 0));
  HWND arrows = FindWindowExA(tabs, nullptr, "msctls_updown32", nullptr);
  row.arrows = arrows && IsWindowVisible(arrows);
  const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r = {};
    SendMessageA(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    row.tabs.push_back(r);
  }
  for (int i = 0; i < count; ++i) {
    const RECT& r = row.tabs[static_cast<std::size_t>(i)];
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    host::Click(tabs, centre.x, centre.y);
    host::Sync(tabs);
    row.selected_by_click.push_back(host::SelectedTab(tabs));
    ClientToScreen(tabs, &centre);
    row.on_top.push_back(WindowFromPoint(centre) == tabs);
  }
  return row;
}

TEST_F(PickerTest, EveryTabOfBothRowsCanBeSeenAndClicked) {
  TabRow outer, iso;
  RECT panel = {};
  copy_->Run([&](HWND d) {
    SetWindowPos(d, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND pc_char = Control(d, "PCChar");
    panel = host::RectInParent(Control(d, "PInfo"));
    MapWindowPoints(d, pc_char, reinterpret_cast<POINT*>(&panel), 2);
    outer = ReadTabRow(pc_char);
    host::SelectTab(pc_char, 1);
    iso = ReadTabRow(Control(d, "PCiso"));
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  ASSERT_EQ(outer.tabs.size(), 6u);
  ASSERT_EQ(iso.tabs.size(), 15u);
  // The panel lies over the right end of the outer row and over nothing
  // else: every tab lies wholly left of it, the pages begin below it.
  EXPECT_EQ(panel.top, 0);
  EXPECT_GE(outer.page.top, panel.bottom);
  for (const TabRow* row : {&outer, &iso}) {
    EXPECT_EQ(row->rows, 1);
    EXPECT_FALSE(row->arrows);
    for (std::size_t i = 0; i < row->tabs.size(); ++i) {
      SCOPED_TRACE(i);
      const RECT& r = row->tabs[i];
      EXPECT_GE(r.left, row->client.left);
      EXPECT_LE(r.right, row == &outer ? panel.left : row->client.right);
      EXPECT_LE(r.bottom, row->page.top);
      EXPECT_TRUE(row->on_top[i]);
      EXPECT_EQ(row->selected_by_click[i], static_cast<int>(i));
    }
  }
}

TEST_F(PickerTest, TabWalksTheControlsInTabOrder) {
  std::vector<std::string> walked;
  copy_->Run([&](HWND d) {
    const DWORD thread = GetWindowThreadProcessId(d, nullptr);
    auto focus = [&] {
      GUITHREADINFO info = {sizeof info};
      GetGUIThreadInfo(thread, &info);
      std::string name = host::NameOf(info.hwndFocus);
      if (name.empty()) name = host::NameOf(GetParent(info.hwndFocus));  // radio items
      return name;
    };
    walked.push_back(focus());
    for (int i = 0; i < 14; ++i) {
      HWND f = nullptr;
      GUITHREADINFO info = {sizeof info};
      GetGUIThreadInfo(thread, &info);
      f = info.hwndFocus;
      host::PostKey(f, VK_TAB);
      host::Sync(d);
      walked.push_back(focus());
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  const std::vector<std::string> expected = {"EdRueck",      "BtnOK",       "BtnAbbruch", "BtnInfo",
                                             "RGAusgabeTyp", "EdHex",       "EdEntitie",  "EdUser1",
                                             "EdUser2",      "EdUser3",     "PCChar",     "PCiso",
                                             "IISO8859_1",   "EdZeichenNr", "EdRueck"};
  EXPECT_EQ(walked, expected);
}

TEST_F(PickerTest, ClicksAppendTheChosenFormAtTheEnd) {
  std::string after_clicks, after_long, typed;
  copy_->Run([&](HWND d) {
    HWND result = Control(d, "EdRueck");
    HWND ansi_page_pic = Control(d, "IISO8859_3");
    // The delivered file remembers "Entitie"; append the decimal form.
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 0);
    host::SetText(Control(d, "EdDez"), "&#1;");
    host::SetText(result, "xy");
    SendMessageA(result, EM_SETSEL, 0, 1);  // a selection does not matter
    host::MouseDown(ansi_page_pic, 1, 1);
    host::MouseUp(ansi_page_pic, 1, 1);
    host::MouseDown(ansi_page_pic, 1, 1, WM_RBUTTONDOWN);
    host::MouseDown(ansi_page_pic, 1, 1, WM_MBUTTONDOWN);
    after_clicks = GetText(result);
    // A user form longer than 30 characters is cut when appended.
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 1);
    host::SetText(Control(d, "EdUser1"), std::string(40, 'u'));
    host::SetText(result, std::string(90, 'r'));
    host::MouseDown(ansi_page_pic, 1, 1);
    after_long = GetText(result);
    // Typing stops at 100 characters; appending did not.
    // (Setting the text puts the caret at the start; type at the end.)
    host::SetText(result, std::string(98, 't'));
    SendMessageA(result, EM_SETSEL, 98, 98);
    host::TypeText(result, "abcd");
    typed = GetText(result);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_EQ(after_clicks, "xy&#1;&#1;&#1;");
  EXPECT_EQ(after_long, std::string(90, 'r') + std::string(30, 'u'));
  EXPECT_EQ(typed, std::string(98, 't') + "ab");
}

TEST_F(PickerTest, HoverAndClickGiveTheDeliveredForms) {
  std::map<std::string, std::string> fields;
  std::string result;
  std::string cleared;
  copy_->Run([&](HWND d) {
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 4);
    host::SelectTab(Control(d, "PCiso"), 0);
    HWND pic = Control(d, "IISO8859_1");
    host::MouseMove(pic, 40, 60);
    for (const char* f : {"EdZeichenNr", "EdDez", "EdHex", "EdEntitie"})
      fields[f] = GetText(Control(d, f));
    host::Click(pic, 40, 60);
    host::MouseMove(pic, 1, 60);
    cleared = GetText(Control(d, "EdDez")) + GetText(Control(d, "EdZeichenNr"));
    result = GetText(Control(d, "EdRueck"));
    host::PressButton(Control(d, "BtnOK"));
  });
  EXPECT_EQ(fields["EdZeichenNr"], "14");
  EXPECT_EQ(fields["EdDez"], "&#174;");
  EXPECT_EQ(fields["EdHex"], "&#x00AE;");
  EXPECT_EQ(fields["EdEntitie"], "&reg;");
  EXPECT_EQ(result, "&reg;");
  EXPECT_EQ(cleared, "");
}

}  // namespace
}  // namespace rf::test
