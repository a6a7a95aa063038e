// Feeds arbitrary bytes to the data file checker. Nothing may crash or
// hang, and the messages the report names must be the load's own, in order:
// the checker's reading of the file and the module's loader never part.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "checker/data_check.h"
#include "checker/report_text.h"

namespace {

const std::string& Path() {
  static const std::string dir = "/tmp/rf_ckfuzz_" + std::to_string(::getpid());
  static const bool made = (::mkdir(dir.c_str(), 0700), true);
  (void)made;
  static const std::string path = dir + "/Runefold.cfg";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (std::FILE* f = std::fopen(Path().c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  const rf::checker::Report report = rf::checker::CheckDataFile(Path());
  if (report.Messages() != report.load_messages) std::abort();
  if (report.ExitStatus() != (report.load_messages.empty() ? 0 : 1)) std::abort();
  const std::string text = rf::checker::FormatReport(report, "Runefold.cfg");
  if (text.empty()) std::abort();
  return 0;
}
