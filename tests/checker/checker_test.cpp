// The checker over the corpus of broken files (each with the report it
// must give), the delivered file, and the files it must survive.
#include "checker/data_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "chardata/config_file.h"
#include "chardata/configuration.h"
#include "checker/report_text.h"
#include "tests/chardata/temp_module_dir.h"

namespace rf::checker {
namespace {

namespace fs = std::filesystem;
using chardata::testing::TempModuleDir;

const fs::path kCorpus = fs::path(RF_SOURCE_DIR) / "tests/checker/corpus";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The report as the program prints it, with its exit status.
std::string Printed(const Report& report, const std::string& name) {
  return FormatReport(report, name) + "Status " + std::to_string(report.ExitStatus()) + "\n";
}

TEST(CheckerCorpus, EveryFileGivesItsReportAndTheLoadsMessages) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kCorpus)) {
    if (entry.path().extension() != ".cfg") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    const Report report = CheckDataFile(entry.path().string());
    fs::path expected = entry.path();
    expected.replace_extension(".expected");
    ASSERT_TRUE(fs::exists(expected)) << "no report kept for " << name;
    EXPECT_EQ(Printed(report, name), ReadFile(expected));
    // The report's messages are exactly what the load showed, in order.
    EXPECT_EQ(report.Messages(), report.load_messages);
  }
  EXPECT_GE(files, 12);
}

TEST(Checker, DeliveredFileIsClean) {
  const Report report = CheckDataFile(std::string(RF_SOURCE_DIR) + "/data/Runefold.cfg");
  EXPECT_TRUE(report.findings.empty()) << FormatReport(report, "Runefold.cfg");
  EXPECT_EQ(report.ExitStatus(), 0);
}

TEST(Checker, ReadOnlyFileGetsTheWriteMessageOfTheClose) {
  TempModuleDir dir;
  dir.WriteConfig(ReadFile(fs::path(RF_SOURCE_DIR) / "data/Runefold.cfg"));
  ASSERT_EQ(::chmod(dir.ConfigPath().c_str(), 0444), 0);
  const Report report = CheckDataFile(dir.ConfigPath());
  ASSERT_EQ(report.findings.size(), 1u);
  EXPECT_EQ(report.findings[0].message, chardata::ConfigWriteError(dir.ConfigPath()).what());
  EXPECT_EQ(report.findings[0].caption, "Runefold");
  EXPECT_EQ(report.ExitStatus(), 1);
}

TEST(Checker, MissingFileAndFolderAreUnreadable) {
  TempModuleDir dir;
  EXPECT_EQ(CheckDataFile(dir.ConfigPath()).ExitStatus(), 2);
  EXPECT_EQ(CheckDataFile(dir.Dir()).ExitStatus(), 2);
}

// Ten megabytes of one section's lines, overlong lines and a key list far
// past its buffer: the checker finishes and still agrees with the load.
TEST(Checker, HugeFileWithOverlongLinesAndKeys) {
  TempModuleDir dir;
  std::string bytes = "\xEF\xBB\xBF[ANSI]\n";
  const std::string long_value(3000, 'x');
  while (bytes.size() < 10'000'000) {
    bytes += std::to_string(bytes.size()) + "=" + long_value + ",1,,,,\r\n";
  }
  dir.WriteConfig(bytes);
  const Report report = CheckDataFile(dir.ConfigPath());
  EXPECT_EQ(report.Messages(), report.load_messages);
  ASSERT_FALSE(report.load_messages.empty());
  EXPECT_EQ(report.load_messages[0], chardata::LineCountMessage(chardata::ctANSI));
  EXPECT_EQ(report.ExitStatus(), 1);
}

TEST(ReportText, Cp1252QuotationsBecomeUtf8AndControlsVisible) {
  EXPECT_EQ(Cp1252ToUtf8("\x80\xE9\x81"), "\xE2\x82\xAC\xC3\xA9\xC2\x81");
  Report report;
  report.findings.push_back({3, "a\x01", "Zeile 1\n\rAbbrechen?", "Fehler"});
  EXPECT_EQ(FormatReport(report, "f.cfg"),
            "f.cfg:3: a\\x01\n"
            "    Meldung \xE2\x80\x9E"
            "Fehler\xE2\x80\x9C: Zeile 1\n"
            "                      Abbrechen?\n"
            "1 Problem, davon 1 Meldung des Plug-ins.\n");
}

}  // namespace
}  // namespace rf::checker
