// Every file of the checker's corpus, and the delivered file, given to the
// real module beside it and to the checker: the module's "Fehler" boxes are
// exactly the checker's messages, in the same order.
#include <gtest/gtest.h>

#include <filesystem>

#include "checker/data_check.h"
#include "checker/report_text.h"
#include "plugin_fixture.h"

namespace rf::test {
namespace {

void ExpectAgreement(const std::string& name, const std::string& config) {
  SCOPED_TRACE(name);
  PluginCopy copy(&config);
  // The checker reads its own copy: closing the dialog writes the choices
  // back into the module's.
  const std::string checked = copy.Folder() + "\\checked.cfg";
  WriteFile(checked, config);
  const checker::Report report = checker::CheckDataFile(checked);
  const RunResult run = copy.Run([](HWND d) { host::PressButton(host::Control(d, "BtnAbbruch")); },
                                 PluginCopy::BoxWay::kClose);
  ASSERT_TRUE(run.script_ok);
  EXPECT_EQ(run.messages, report.Messages()) << checker::FormatReport(report, name);
  EXPECT_EQ(run.messages, report.load_messages);
}

TEST(CheckerAgreement, CorpusFilesGiveTheModulesMessagesInOrder) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(SourcePath("tests/checker/corpus"))) {
    if (entry.path().extension() != ".cfg") continue;
    ++files;
    const std::string name = entry.path().filename().string();
    ExpectAgreement(name, ReadFile(SourcePath("tests/checker/corpus/" + name)));
  }
  EXPECT_GE(files, 12);
}

TEST(CheckerAgreement, DeliveredFileGivesNoMessage) {
  const std::string config = DeliveredConfig();
  ExpectAgreement("Runefold.cfg", config);
}

}  // namespace
}  // namespace rf::test
