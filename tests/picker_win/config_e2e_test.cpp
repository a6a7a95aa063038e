// The configuration file beside the real module: messages about bad data,
// the remembered choices, user forms, and a file that cannot be written.
#include <gtest/gtest.h>

#include "plugin_fixture.h"

namespace rf::test {
namespace {

using host::Control;
using host::GetText;

const char* const kSections[] = {"ANSI",        "ISO-8859-1",  "ISO-8859-2",  "ISO-8859-3",
                                 "ISO-8859-4",  "ISO-8859-5",  "ISO-8859-6",  "ISO-8859-7",
                                 "ISO-8859-8",  "ISO-8859-9",  "ISO-8859-10", "ISO-8859-11",
                                 "ISO-8859-13", "ISO-8859-14", "ISO-8859-15", "ISO-8859-16",
                                 "CP437",       "CP850",       "Technik",     "Grafik"};

std::string LineCountMessage(const std::string& section) {
  return "Der Bereich [" + section + "] hat die falsche Anzahl von Zeilen";
}

// Position of the n-th line (from 0) after a section's header.
std::size_t LineStart(const std::string& cfg, const std::string& section, int n) {
  std::size_t pos = cfg.find("[" + section + "]");
  pos = cfg.find('\n', pos) + 1;
  for (int i = 0; i < n; ++i) pos = cfg.find('\n', pos) + 1;
  return pos;
}

std::string ReplaceLine(std::string cfg, const std::string& section, int n,
                        const std::string& line) {
  const std::size_t start = LineStart(cfg, section, n);
  std::size_t end = cfg.find('\n', start);
  if (end > start && cfg[end - 1] == '\r') --end;
  return cfg.replace(start, end - start, line);
}

std::string RemoveLine(std::string cfg, const std::string& section, int n) {
  const std::size_t start = LineStart(cfg, section, n);
  return cfg.erase(start, cfg.find('\n', start) + 1 - start);
}

// A setting put first in the file, ahead of the delivered sections.
std::string WithSetting(const std::string& cfg, const std::string& section, const std::string& key,
                        const std::string& value) {
  return "[" + section + "]\r\n" + key + "=" + value + "\r\n" + cfg;
}

TEST(ConfigE2E, NoFileGivesTwentyMessagesAndDefaults) {
  PluginCopy copy(nullptr);
  int item = -1, outer = -1, inner = -1;
  std::string label1, item1;
  const RunResult r = copy.Run([&](HWND d) {
    item = host::CheckedItem(Control(d, "RGAusgabeTyp"));
    outer = host::SelectedTab(Control(d, "PCChar"));
    inner = host::SelectedTab(Control(d, "PCiso"));
    label1 = GetText(Control(d, "LblUser1"));
    item1 = GetText(host::RadioItems(Control(d, "RGAusgabeTyp"))[1]);
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  ASSERT_EQ(r.messages.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(r.messages[i], LineCountMessage(kSections[i]));
  EXPECT_EQ(item, 0);
  EXPECT_EQ(outer, 1);
  EXPECT_EQ(inner, 2);
  EXPECT_EQ(label1, "Benutzer1:");
  EXPECT_EQ(item1, "Benutzer1");
  // OK in a message box cancels like "Abbruch"; the window close keeps it.
  EXPECT_EQ(r.kind, 0);
  EXPECT_EQ(r.text, "");
}

TEST(ConfigE2E, BadSectionsAreReportedWithTheirLines) {
  std::string cfg = DeliveredConfig();
  cfg = RemoveLine(cfg, "ANSI", 3);
  cfg = ReplaceLine(cfg, "ISO-8859-2", 4, "164=x,164,curren,a,b");
  PluginCopy copy(&cfg);
  const RunResult r = copy.Run([](HWND d) { host::PressButton(Control(d, "BtnAbbruch")); });
  ASSERT_EQ(r.messages.size(), 2u);
  EXPECT_EQ(r.messages[0], LineCountMessage("ANSI"));
  EXPECT_EQ(r.messages[1],
            "Zeile 4 im Bereich [ISO-8859-2] hat die falsche Anzahl von Parametern\n\rAbbrechen?");
}

TEST(ConfigE2E, AMessageBoxConfirmedCancelsTheRunClosedChangesNothing) {
  // Each run starts from a confirmed result; a bad section then shows one
  // box, answered in each way. Confirming it (button, Enter, Escape) gives
  // up the result as the dialog's cancel does; closing it keeps it.
  using Way = PluginCopy::BoxWay;
  struct Answer {
    const char* name;
    Way way;
    std::string text;
    int kind;
  };
  const std::vector<Answer> answers = {
      {"close", Way::kClose, "keep", 1},
      {"OK button", Way::kOkButton, "", 0},
      {"Enter", Way::kEnter, "", 0},
      {"Escape", Way::kEscape, "", 0},
  };
  const std::string good = DeliveredConfig();
  PluginCopy copy(&good);
  for (const Answer& a : answers) {
    SCOPED_TRACE(a.name);
    WriteFile(copy.ConfigPath(), good);
    RunResult r = copy.Run([](HWND d) {
      host::SetText(Control(d, "EdRueck"), "keep");
      host::PressButton(Control(d, "BtnOK"));
    });
    ASSERT_EQ(r.text, "keep");
    WriteFile(copy.ConfigPath(), RemoveLine(good, "Grafik", 0));
    // Closed by the window system, the dialog leaves the result alone too.
    r = copy.Run([](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }, a.way);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.text, a.text);
    EXPECT_EQ(r.kind, a.kind);
  }
}

TEST(ConfigE2E, ChoicesAreRememberedBetweenRuns) {
  std::string cfg = DeliveredConfig();
  PluginCopy copy(&cfg);
  copy.Run([](HWND d) {
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 2);
    host::SelectTab(Control(d, "PCChar"), 3);
    host::PressButton(Control(d, "BtnOK"));
  });
  const std::string saved = ReadFile(copy.ConfigPath());
  EXPECT_NE(saved.find("Typ=Hexadezimal"), std::string::npos);
  EXPECT_NE(saved.find("Typ=CP850"), std::string::npos);
  int item = -1, outer = -1, inner = -1;
  copy.Run([&](HWND d) {
    item = host::CheckedItem(Control(d, "RGAusgabeTyp"));
    outer = host::SelectedTab(Control(d, "PCChar"));
    host::SelectTab(Control(d, "PCChar"), 1);
    host::SelectTab(Control(d, "PCiso"), 11);
    host::PostKey(Control(d, "EdRueck"), VK_ESCAPE);
  });
  EXPECT_EQ(item, 2);
  EXPECT_EQ(outer, 3);
  EXPECT_NE(ReadFile(copy.ConfigPath()).find("Typ=ISO8859-13"), std::string::npos);
  copy.Run([&](HWND d) {
    outer = host::SelectedTab(Control(d, "PCChar"));
    inner = host::SelectedTab(Control(d, "PCiso"));
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_EQ(outer, 1);
  EXPECT_EQ(inner, 11);
}

TEST(ConfigE2E, UserFormNamesAndTemplatesApply) {
  std::string cfg = WithSetting(DeliveredConfig(), "Benutzer", "Typ2", "Grad");
  cfg = WithSetting(cfg, "Default", "Typ1", "&#\xA7");
  // ISO 8859-1 cell 14 without user forms: the template stands in.
  cfg = ReplaceLine(cfg, "ISO-8859-1", 14, "$AE=REGISTERED SIGN,174,reg,,,");
  PluginCopy copy(&cfg);
  std::string label2, item3, user1, user2;
  copy.Run([&](HWND d) {
    label2 = GetText(Control(d, "LblUser2"));
    item3 = GetText(host::RadioItems(Control(d, "RGAusgabeTyp"))[3]);
    host::SelectTab(Control(d, "PCChar"), 1);
    host::SelectTab(Control(d, "PCiso"), 0);
    host::MouseMove(Control(d, "IISO8859_1"), 40, 60);
    user1 = GetText(Control(d, "EdUser1"));
    user2 = GetText(Control(d, "EdUser2"));
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_EQ(label2, "Grad:");
  EXPECT_EQ(item3, "Grad");
  EXPECT_EQ(user1, "&#174;");
  EXPECT_EQ(user2, "") << "no template 2 in the delivered file";
}

TEST(ConfigE2E, AnUnwritableFileIsReportedAndTheDialogStillCloses) {
  // The read-only attribute does not stop Wine running as root, so another
  // program holds the file open for reading and denies writes, as an editor
  // or a virus scanner may: loading works, saving at the close does not.
  std::string cfg = DeliveredConfig();
  PluginCopy copy(&cfg);
  HANDLE held = INVALID_HANDLE_VALUE;
  std::string error;
  const RunResult r = copy.Run([&](HWND d) {
    held = CreateFileA(copy.ConfigPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 5);
    host::TypeText(Control(d, "EdRueck"), "x");
    host::PressButton(Control(d, "BtnOK"));
    if (HWND box = WaitForAnyWindow({"Runefold"}, nullptr, 5000)) {
      error = BoxText(box);
      ConfirmBox(box);
    }
  });
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  CloseHandle(held);
  EXPECT_TRUE(r.script_ok);
  EXPECT_EQ(error, "Kann nicht nach " + copy.ConfigPath() + " schreiben.");
  EXPECT_EQ(r.text, "x");
  EXPECT_EQ(r.kind, 1);
  EXPECT_EQ(ReadFile(copy.ConfigPath()), cfg);
  // Once the file is free again the next close saves as usual.
  copy.Run([](HWND d) {
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 5);
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_NE(ReadFile(copy.ConfigPath()).find("Typ=Benutzer3"), std::string::npos);
}

TEST(ConfigE2E, HoverAtTheEdgesOfEveryPictureKind) {
  struct Probe {
    int outer, inner;
    const char* picture;
    int x, y;
    const char* number;  // "" where the fields are cleared
  };
  const std::vector<Probe> probes = {
      {0, -1, "IANSI", 2, 2, "0"},        {0, -1, "IANSI", 1, 2, ""},
      {0, -1, "IANSI", 287, 191, "127"},  {0, -1, "IANSI", 288, 100, ""},
      {0, -1, "IANSI", 100, 195, ""},     {0, -1, "IANSI", 20, 30, "9"},
      {1, 0, "IISO8859_1", 20, 30, "7"},  {1, 0, "IISO8859_1", 287, 161, "95"},
      {1, 0, "IISO8859_1", 18, 27, "7"},  {1, 0, "IISO8859_1", 5, 162, ""},
      {2, -1, "ICP734", 359, 191, "159"}, {3, -1, "ICP850", 359, 191, "159"},
      {4, -1, "ITechnik", 89, 191, "39"}, {4, -1, "ITechnik", 90, 191, ""},
      {4, -1, "ITechnik", 5, 168, "7"},   {4, -1, "ITechnik", 5, 167, "6"},
      {5, -1, "IGrafik", 197, 191, "87"}, {5, -1, "IGrafik", -5, 50, ""},
  };
  std::string cfg = DeliveredConfig();
  PluginCopy copy(&cfg);
  std::vector<std::string> numbers;
  copy.Run([&](HWND d) {
    for (const Probe& p : probes) {
      host::SelectTab(Control(d, "PCChar"), p.outer);
      if (p.inner >= 0) host::SelectTab(Control(d, "PCiso"), p.inner);
      HWND pic = Control(d, p.picture);
      host::MouseMove(pic, 40, 40);  // fill the fields first
      host::MouseMove(pic, p.x, p.y);
      numbers.push_back(GetText(Control(d, "EdZeichenNr")));
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  ASSERT_EQ(numbers.size(), probes.size());
  for (std::size_t i = 0; i < probes.size(); ++i)
    EXPECT_EQ(numbers[i], probes[i].number)
        << probes[i].picture << " at " << probes[i].x << "," << probes[i].y;
}

TEST(ConfigE2E, ClicksAppendTheFormOfTheCellUnderThePointer) {
  // Press on one cell, drag to the next one down, release there. The code
  // page 850 picture appends on the release, the others on the press.
  struct Drag {
    int outer;
    const char* picture;
    int item;      // output kind
    int from, to;  // cells, both in column 4
    UINT press;
    const char* appended;
  };
  const std::vector<Drag> drags = {
      {3, "ICP850", 0, 32, 33, WM_LBUTTONDOWN, "&#252;"},
      {2, "ICP734", 0, 32, 33, WM_LBUTTONDOWN, "&#199;"},
      {2, "ICP734", 2, 33, 34, WM_RBUTTONDOWN, "&#x00FC;"},
      {5, "IGrafik", 4, 37, 38, WM_MBUTTONDOWN, "&reg;"},
      {0, "IANSI", 1, 33, 34, WM_LBUTTONDOWN, "\\0000A1"},
  };
  std::string cfg = DeliveredConfig();
  PluginCopy copy(&cfg);
  std::vector<std::string> appended;
  copy.Run([&](HWND d) {
    HWND result = Control(d, "EdRueck");
    for (const Drag& g : drags) {
      host::SelectTab(Control(d, "PCChar"), g.outer);
      host::ChooseItem(Control(d, "RGAusgabeTyp"), g.item);
      host::SetText(result, "");
      HWND pic = Control(d, g.picture);
      const int x = 4 * 18 + 9;
      auto y = [](int cell) { return (cell % 8) * 24 + 12; };
      const UINT release = g.press + 1;
      host::MouseMove(pic, x, y(g.from));
      host::MouseDown(pic, x, y(g.from), g.press);
      host::MouseMove(pic, x, y(g.to));
      host::MouseUp(pic, x, y(g.to), release);
      appended.push_back(GetText(result));
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  ASSERT_EQ(appended.size(), drags.size());
  for (std::size_t i = 0; i < drags.size(); ++i)
    EXPECT_EQ(appended[i], drags[i].appended) << drags[i].picture;
}

}  // namespace
}  // namespace rf::test
