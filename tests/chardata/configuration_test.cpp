#include "chardata/configuration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chardata/char_store.h"
#include "chardata/choices.h"
#include "chardata/config_file.h"
#include "chardata/portable_profile_file.h"
#include "chardata/result.h"
#include "temp_module_dir.h"
#include "tests/support/fake_configuration_host.h"

namespace rf::chardata {
namespace {

using FakeHost = test::FakeConfigurationHost;
using testing::TempModuleDir;

// A section with a good line per entry: key i, number 1000 + i.
std::string GoodSection(TCharTableKind kind, const std::string& user1 = "") {
  std::string s = "[" + std::string(SectionName(kind)) + "]\r\n";
  for (int i = 0; i < TableEntryCount(kind); ++i) {
    s += std::to_string(i) + "=c" + std::to_string(i) + "," + std::to_string(1000 + i) + ",e" +
         std::to_string(i) + "," + user1 + ",,\r\n";
  }
  return s;
}

std::string GoodFile(const std::string& head = "") {
  std::string s = head;
  for (TCharTableKind kind : kAllCharTableKinds) s += GoodSection(kind);
  return s;
}

class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetStore();
    ResultText = "kept";
    ResultKind = 1;
    host_.module = dir_.ModulePath();
  }
  void TearDown() override { ResetStore(); }

  void Load() { LoadConfiguration(host_, profile_); }

  TempModuleDir dir_;
  FakeHost host_;
  PortableProfileFile profile_;
};

TEST(ConfigFilePath, FolderOfTheModuleUpToLastBackslashOrColon) {
  EXPECT_EQ(ConfigFilePath("C:\\Programme\\Editor\\Runefold.dll"),
            "C:\\Programme\\Editor\\Runefold.cfg");
  EXPECT_EQ(ConfigFilePath("C:Runefold.dll"), "C:Runefold.cfg");
  EXPECT_EQ(ConfigFilePath("Runefold.dll"), "Runefold.cfg");
  EXPECT_EQ(ConfigFilePath(""), "Runefold.cfg");
  EXPECT_EQ(ConfigFilePath("\\\\srv\\share\\a.b\\x.dll"), "\\\\srv\\share\\a.b\\Runefold.cfg");
}

TEST(Messages, ExactTexts) {
  EXPECT_EQ(LineCountMessage(ctANSI), "Der Bereich [ANSI] hat die falsche Anzahl von Zeilen");
  EXPECT_EQ(FieldCountMessage(4, ctISO8859_15),
            "Zeile 4 im Bereich [ISO-8859-15] hat die falsche Anzahl von Parametern\n\r"
            "Abbrechen?");
}

TEST_F(ConfigurationTest, GoodFileFillsEveryTableWithoutMessages) {
  dir_.WriteConfig(GoodFile());
  Load();
  EXPECT_TRUE(host_.messages.empty());
  for (TCharTableKind kind : kAllCharTableKinds) {
    const int last = TableEntryCount(kind) - 1;
    EXPECT_EQ(TableEntry(kind, last).DecRef, "&#" + std::to_string(1000 + last) + ";");
    EXPECT_EQ(TableEntry(kind, last).EntityRef, "&e" + std::to_string(last) + ";");
  }
  EXPECT_EQ(host_.discarded_results, 0);
  EXPECT_EQ(host_.cursor, (std::vector<bool>{true, false}));
}

TEST_F(ConfigurationTest, NoFileGivesTwentyLineCountMessagesInTableOrder) {
  TableEntry(ctGrafik, 3).DecRef.Assign("&#1;");  // an earlier run's entry
  Load();
  ASSERT_EQ(host_.messages.size(), 20u);
  for (TCharTableKind kind : kAllCharTableKinds) {
    EXPECT_EQ(host_.messages[kind], LineCountMessage(kind));
  }
  EXPECT_EQ(TableEntry(ctGrafik, 3).DecRef, "&#1;");
  // Defaults: no choice selected, user forms relabelled without a blank.
  EXPECT_EQ(host_.output_kind, 0);
  EXPECT_EQ(host_.show_calls, 0);
  EXPECT_EQ(host_.captions[1], std::make_pair(std::string("Benutzer1"), std::string("Benutzer1:")));
  EXPECT_EQ(host_.captions[3], std::make_pair(std::string("Benutzer3"), std::string("Benutzer3:")));
  // Closing the boxes by their window changes nothing.
  EXPECT_EQ(host_.discarded_results, 0);
}

TEST_F(ConfigurationTest, EachConfirmedMessageHandsTheResultToTheHost) {
  host_.answers = {BoxAnswer::kConfirmed, BoxAnswer::kClosed};
  Load();
  ASSERT_EQ(host_.messages.size(), 20u);
  EXPECT_EQ(host_.discarded_results, 10);
  // Giving the result up is the dialog's business, not the loader's.
  EXPECT_EQ(ResultText, "kept");
  EXPECT_EQ(ResultKind, 1);
}

TEST_F(ConfigurationTest, WrongLineCountLeavesTheTableAsItWas) {
  std::string file = GoodFile();
  // ANSI gets a 129th line, ISO-8859-2 loses one (a repeated key).
  file.insert(GoodSection(ctANSI).size(), "500=x,1,,,,\r\n");
  const std::string iso2 = "[ISO-8859-2]\r\n0=";
  file.replace(file.find(iso2) + iso2.size() - 2, 1, "1");
  dir_.WriteConfig(file);
  TableEntry(ctANSI, 0).DecRef.Assign("old");
  TableEntry(ctISO8859_2, 0).DecRef.Assign("old");
  Load();
  EXPECT_EQ(host_.messages,
            (std::vector<std::string>{LineCountMessage(ctANSI), LineCountMessage(ctISO8859_2)}));
  EXPECT_EQ(TableEntry(ctANSI, 0).DecRef, "old");
  EXPECT_EQ(TableEntry(ctISO8859_2, 0).DecRef, "old");
  EXPECT_EQ(TableEntry(ctISO8859_1, 0).DecRef, "&#1000;");
}

TEST_F(ConfigurationTest, WrongFieldCountIsReportedPerLineAndParsedAnyway) {
  std::vector<std::string> lines(40);
  for (int i = 0; i < 40; ++i) lines[i] = std::to_string(i) + "=x," + std::to_string(i) + ",,,,";
  lines[4] = "174=x,174,reg,(R),";       // four commas
  lines[7] = "7=x,7,,a,b,c,extra,more";  // seven commas
  lines[9] = "9=x,,reg,,,";              // good, no number
  ParseSection(host_, ctTechnik, lines);
  EXPECT_EQ(host_.messages, (std::vector<std::string>{FieldCountMessage(4, ctTechnik),
                                                      FieldCountMessage(7, ctTechnik)}));
  EXPECT_EQ(host_.messages[0].substr(0, 8), "Zeile 4 ");
  EXPECT_EQ(TableEntry(ctTechnik, 4).User1, "(R)");
  EXPECT_TRUE(TableEntry(ctTechnik, 4).User3.Empty());
  EXPECT_EQ(TableEntry(ctTechnik, 7).User3, "c");
  EXPECT_TRUE(TableEntry(ctTechnik, 9).DecRef.Empty());
  EXPECT_TRUE(TableEntry(ctTechnik, 9).HexRef.Empty());
  EXPECT_EQ(TableEntry(ctTechnik, 9).EntityRef, "&reg;");
}

TEST_F(ConfigurationTest, SettingsAreAppliedBeforeSections) {
  dir_.WriteConfig(
      "[Ausgabe]\r\nTyp=Entitie\r\n[Zeichensatz]\r\nTyp=ISO8859-5\r\n"
      "[Benutzer]\r\nTyp1=\r\nTyp2=Grad\r\n"
      "[Default]\r\nTyp1=&#\xA7\r\nTyp3=" +
      std::string(40, 't') + "\r\n" + GoodFile());
  Load();
  EXPECT_EQ(host_.output_kind, 4);
  EXPECT_EQ(host_.shown, ctISO8859_5);
  EXPECT_EQ(host_.captions.count(1), 0u);  // present but empty: layout captions stay
  EXPECT_EQ(host_.captions[2], std::make_pair(std::string("Grad"), std::string("Grad:")));
  EXPECT_EQ(host_.captions[3].first, "Benutzer3");
  EXPECT_EQ(DefaultTemplate1, "&#\xA7");
  EXPECT_TRUE(DefaultTemplate2.Empty());
  EXPECT_EQ(DefaultTemplate3, std::string(30, 't'));
}

TEST_F(ConfigurationTest, TemplatesSurviveARunWithoutThem) {
  dir_.WriteConfig("[Default]\r\nTyp2=x\xA7y\r\n");
  Load();
  dir_.WriteConfig("[Default]\r\nTyp2=\r\n");
  Load();
  EXPECT_EQ(DefaultTemplate2, "x\xA7y");
}

TEST_F(ConfigurationTest, ReadSectionLinesKeepsFirstPlaceOfEachKey) {
  dir_.WriteConfig(
      "[S]\r\nb=2\r\na=1\r\nB=3\r\nempty=\r\nc = 4 \r\nnoequals\r\n;note=5\r\n"
      "[s]\r\nd=9\r\n");
  std::vector<std::string> lines;
  ReadSectionLines(profile_, ConfigFilePath(host_.module), "S", lines);
  // "B" reads the first "b"'s value; no line for the empty value, the line
  // without "=", the comment or the second section of the same name.
  EXPECT_EQ(lines, (std::vector<std::string>{"B=2", "a=1", "c=4"}));
}

TEST(ChoicesNames, ExactMatchesOnly) {
  FakeHost host;
  struct OutCase {
    std::string name;
    int index;
  };
  const OutCase outs[] = {{"Dezimal", 0}, {"Benutzer1", 1}, {"Hexadezimal", 2}, {"Benutzer2", 3},
                          {"Entitie", 4}, {"Benutzer3", 5}, {"Entity", -1},     {"dezimal", -1},
                          {"ERROR", -1},  {"", -1},         {"Dezimal ", -1}};
  for (const OutCase& c : outs) {
    host.output_kind = 2;
    SelectOutputKindByName(host, c.name);
    EXPECT_EQ(host.output_kind, c.index < 0 ? 2 : c.index) << c.name;
    if (c.index >= 0) {
      EXPECT_EQ(OutputKindName(host), c.name);
    }
  }
  for (TCharTableKind kind : kAllCharTableKinds) {
    host.shown = ctANSI;
    SelectTableByName(host, TableKindNameOf(kind));
    EXPECT_EQ(host.shown, kind);
    EXPECT_EQ(TableKindName(host), TableKindNameOf(kind));
  }
  host.show_calls = 0;
  for (const char* wrong : {"ISO-8859-5", "iso8859-5", "ISO8859-12", "ERROR", "grafik"}) {
    SelectTableByName(host, wrong);
  }
  EXPECT_EQ(host.show_calls, 0);
  EXPECT_EQ(TableKindNameOf(ctISO8859_13), "ISO8859-13");
  EXPECT_EQ(TableKindNameOf(ctCP850), "CP850");
}

TEST_F(ConfigurationTest, SaveWritesBothChoicesAndTheNextLoadRestoresThem) {
  dir_.WriteConfig("; settings\r\n[Ausgabe]\r\nTyp=Dezimal\r\n" + GoodFile());
  host_.output_kind = 2;
  host_.shown = ctCP850;
  SaveChoices(host_, profile_);
  EXPECT_EQ(host_.cursor, (std::vector<bool>{true, false}));

  FakeHost next;
  next.module = host_.module;
  LoadConfiguration(next, profile_);
  EXPECT_EQ(next.output_kind, 2);
  EXPECT_EQ(next.shown, ctCP850);
  EXPECT_TRUE(next.messages.empty());
  const std::string file = dir_.ReadConfig();
  EXPECT_NE(file.find("Typ=Hexadezimal"), std::string::npos);
  EXPECT_NE(file.find("[Zeichensatz]\r\nTyp=CP850"), std::string::npos);
  EXPECT_EQ(file.find("; settings"), 0u);  // the rest of the file is kept
}

TEST_F(ConfigurationTest, SaveToAnUnwritablePlaceThrowsAndRestoresTheCursor) {
  host_.module = dir_.Dir() + "/missing\\Runefold.dll";
  try {
    SaveChoices(host_, profile_);
    FAIL() << "no error";
  } catch (const ConfigWriteError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Kann nicht nach " + dir_.Dir() + "/missing\\Runefold.cfg schreiben");
  }
  EXPECT_EQ(host_.cursor, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace rf::chardata
