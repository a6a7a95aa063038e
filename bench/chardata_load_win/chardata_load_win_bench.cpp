// LoadConfiguration on the delivered Runefold.cfg through
// GetPrivateProfileStringA, as the dialog's creation runs it, without the
// dialog. Prints the first (cold) load and the spread of the warm ones.
//   chardata_load_win_bench [runs]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "chardata/configuration.h"
#include "chardata/win32_profile_file.h"
#include "tests/support/fake_configuration_host.h"

namespace {

using namespace rf::chardata;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  // A folder of its own with a copy of the delivered file, as beside the module.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "rf-load-bench-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string source = "Z:" + std::string(RF_SOURCE_DIR) + "/data/Runefold.cfg";
  std::replace(source.begin(), source.end(), '/', '\\');
  const std::string cfg = folder + "\\Runefold.cfg";
  if (!CopyFileA(source.c_str(), cfg.c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy %s\n", source.c_str());
    return 1;
  }

  rf::test::FakeConfigurationHost host;
  host.module = folder + "\\Runefold.dll";
  Win32ProfileFile profile;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    LoadConfiguration(host, profile);
    times.push_back(Ms(Clock::now() - start));
  }
  DeleteFileA(cfg.c_str());
  RemoveDirectoryA(folder.c_str());
  if (!host.messages.empty()) {
    std::fprintf(stderr, "the delivered file gave %zu messages\n", host.messages.size());
    return 1;
  }

  const double first = times.front();
  std::vector<double> warm(times.begin() + (runs > 1 ? 1 : 0), times.end());
  std::sort(warm.begin(), warm.end());
  std::printf("LoadConfiguration through the profile functions, %d runs\n", runs);
  std::printf("  first  %8.2f ms\n", first);
  std::printf("  min    %8.2f ms\n", warm.front());
  std::printf("  median %8.2f ms\n", warm[warm.size() / 2]);
  std::printf("  max    %8.2f ms\n", warm.back());
  return 0;
}
