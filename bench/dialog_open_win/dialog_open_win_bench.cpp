// Loads Runefold.dll from beside this program (with its Runefold.cfg), calls
// pluginStart on the main thread as a host does, and splits each opening
// into its phases by stamping the module's own calls to the system (see
// tests/support/opening_trace.h). Each opening ends at the modal loop's first idle, when the
// dialog is painted, by a press of its cancel button. Also checks that the
// load made exactly the profile reads it must, and no others.
//   dialog_open_win_bench [runs] [-v|-d]
//     -v: each run's phases; -d: where the last run went (creation by class, dispatches by message)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "host/driver.h"
#include "tests/support/opening_trace.h"

namespace {

using rf::test::OpeningPhases;

struct Column {
  const char* name;
  std::function<double(const OpeningPhases&)> value;
};

const std::vector<Column>& Columns() {
  static const std::vector<Column> columns = {
      {"window creation", [](const OpeningPhases& p) { return p.windows; }},
      {"pictures (read, decode)", [](const OpeningPhases& p) { return p.pictures; }},
      {"layout before the load", [](const OpeningPhases& p) { return p.layout; }},
      {"profile reads (inside)", [](const OpeningPhases& p) { return p.reads; }},
      {"load between the reads", [](const OpeningPhases& p) { return p.load_ours; }},
      {"after the load", [](const OpeningPhases& p) { return p.after_load; }},
      {"first paint", [](const OpeningPhases& p) { return p.first_paint; }},
      {"total to painted", [](const OpeningPhases& p) { return p.total; }},
      {"all but the reads", [](const OpeningPhases& p) { return p.BeyondReads(); }},
      {"  in CreateWindowExA", [](const OpeningPhases& p) { return p.in_create; }},
      {"  in SendMessageA", [](const OpeningPhases& p) { return p.in_send; }},
      {"  in SetWindowPos", [](const OpeningPhases& p) { return p.in_position; }},
      {"  in ShowWindow", [](const OpeningPhases& p) { return p.in_show; }},
      {"  in DispatchMessageA", [](const OpeningPhases& p) { return p.in_dispatch; }},
  };
  return columns;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 20;
  const bool verbose = argc > 2 && std::string(argv[2]) == "-v";
  const bool detail = argc > 2 && std::string(argv[2]) == "-d";
  std::string opening_detail;
  // A private copy of the module and its file: each close writes the choices.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "rf-open-bench-" + std::to_string(GetCurrentProcessId());
  const std::string here = rf::host::ProgramFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* file : {"Runefold.dll", "Runefold.cfg"}) {
    if (!CopyFileA((here + file).c_str(), (folder + "\\" + file).c_str(), FALSE)) {
      std::fprintf(stderr, "cannot copy %s%s\n", here.c_str(), file);
      return 1;
    }
  }
  const std::string cfg = folder + "\\Runefold.cfg";
  const auto keys = rf::test::KeysPerSection(cfg);
  rf::host::Plugin plugin;
  std::vector<OpeningPhases> phases;
  int status = 0;
  try {
    plugin = rf::host::LoadPlugin(folder);
    rf::test::InstallOpeningTrace(plugin.module);
    for (int i = 0; i < runs; ++i) {
      rf::test::OpeningTrace trace;
      rf::test::BeginOpening(trace);
      plugin.Start(0, 0, 0);
      rf::test::EndOpening();
      if (const std::string problems = rf::test::CheckReadSequence(trace, cfg, keys);
          !problems.empty()) {
        std::fprintf(stderr, "run %d: %s", i, problems.c_str());
        status = 1;
      }
      phases.push_back(rf::test::PhasesOf(trace));
      if (detail) opening_detail = rf::test::OpeningDetail(trace);
      if (verbose) {
        std::printf("run %2d:", i);
        for (const Column& c : Columns()) std::printf(" %.1f", c.value(phases.back()));
        std::printf("\n");
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    status = 1;
  }
  if (plugin.module) rf::host::UnloadPlugin(plugin);
  for (const char* file : {"Runefold.dll", "Runefold.cfg"})
    DeleteFileA((folder + "\\" + file).c_str());
  RemoveDirectoryA(folder.c_str());
  if (phases.size() < 2) return 1;

  const OpeningPhases& cold = phases.front();
  std::printf(
      "pluginStart to the painted dialog, %d runs (first run cold; min and median of the others)\n",
      runs);
  std::printf("  %-26s %8s %8s %8s\n", "phase, ms", "first", "min", "median");
  for (const Column& c : Columns()) {
    std::vector<double> warm;
    for (std::size_t i = 1; i < phases.size(); ++i) warm.push_back(c.value(phases[i]));
    std::printf("  %-26s %8.1f %8.1f %8.1f\n", c.name, c.value(cold),
                *std::min_element(warm.begin(), warm.end()), Median(warm));
  }
  std::printf(
      "  windows created %d, messages sent %d, positions set %d, messages dispatched %d per "
      "opening\n",
      phases.back().windows_created, phases.back().messages_sent, phases.back().positions_set,
      phases.back().dispatched);
  if (detail) std::printf("  where the last run went:\n%s", opening_detail.c_str());
  std::printf("  profile reads: %s\n",
              status == 0 ? "as prescribed, no other file opened, nothing written" : "DIFFER");
  return status;
}
