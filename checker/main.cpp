// runefold-check [FILE]: lists every problem of a data file at once (by
// default Runefold.cfg in the current folder). Exit status 0: the module
// loads it without a message; 1: it shows messages; 2: unreadable.
#include <cstdio>
#include <string>

#include "checker/data_check.h"
#include "checker/report_text.h"

namespace rf::checker {
void PrepareConsole();  // UTF-8 output where the platform needs telling
#if !defined(_WIN32)
void PrepareConsole() {}
#endif
}  // namespace rf::checker

int main(int argc, char** argv) {
  if (argc > 2 ||
      (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h"))) {
    rf::checker::PrepareConsole();
    const std::string usage = rf::checker::Cp1252ToUtf8(
        "Aufruf: runefold-check [DATEI]\n"
        "Prüft eine Runefold.cfg (ohne DATEI die im aktuellen Ordner) und nennt jedes\n"
        "Problem mit seiner Zeile. Status 0: keine Meldung; 1: Meldungen; 2: nicht lesbar.\n");
    std::fputs(usage.c_str(), argc > 2 ? stderr : stdout);
    return argc > 2 ? 2 : 0;
  }
  rf::checker::PrepareConsole();
  const std::string path = argc == 2 ? argv[1] : "Runefold.cfg";
  const rf::checker::Report report = rf::checker::CheckDataFile(path);
  const std::string text = rf::checker::FormatReport(report, path);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return report.ExitStatus();
}
