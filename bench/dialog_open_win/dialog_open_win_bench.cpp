// Loads Runefold.dll from beside this program (with its Runefold.cfg), calls
// pluginStart on the main thread as a host does, and from a second thread
// measures until the dialog is visible and until its message loop answers;
// then cancels it. Repeats and prints the first (cold) run and the spread of
// the others.
//   dialog_open_win_bench [runs] [-v]   (-v: each run's times)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "host/driver.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kCaption = "Erweiterter Zeichensatz für html";

struct FindDialog {
  HWND found = nullptr;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  char text[128] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (std::string(text) != kCaption) return TRUE;
  reinterpret_cast<FindDialog*>(lp)->found = hwnd;
  return FALSE;
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct Times {
  double visible = -1, answering = -1;
};

void Print(const char* what, std::vector<double> v) {
  if (v.empty()) return;
  std::sort(v.begin(), v.end());
  std::printf("  %-22s min %7.1f  median %7.1f  max %7.1f ms\n", what, v.front(), v[v.size() / 2],
              v.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const bool verbose = argc > 2 && std::string(argv[2]) == "-v";
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
  rf::host::Plugin plugin;
  try {
    plugin = rf::host::LoadPlugin(folder);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::vector<Times> times;
  for (int i = 0; i < runs; ++i) {
    Times t;
    std::atomic<bool> started{false};
    Clock::time_point start;
    std::thread watcher([&] {
      while (!started) std::this_thread::yield();
      FindDialog f;
      const auto give_up = Clock::now() + std::chrono::seconds(20);
      while (!f.found && Clock::now() < give_up) {
        EnumWindows(FindProc, reinterpret_cast<LPARAM>(&f));
        if (!f.found) std::this_thread::yield();
      }
      if (!f.found) return;
      t.visible = Ms(Clock::now() - start);
      // The modal loop has reached a message posted now: the dialog answers.
      rf::host::Sync(f.found);
      t.answering = Ms(Clock::now() - start);
      if (HWND cancel = rf::host::FindControl(f.found, "BtnAbbruch"))
        PostMessageA(cancel, BM_CLICK, 0, 0);
      else
        PostMessageA(f.found, WM_CLOSE, 0, 0);
    });
    start = Clock::now();
    started = true;
    plugin.Start(0, 0, 0);
    watcher.join();
    if (t.visible < 0) {
      std::fprintf(stderr, "run %d: the dialog did not appear\n", i);
      return 1;
    }
    times.push_back(t);
    if (verbose)
      std::printf("  run %2d: visible %7.1f ms, answering %7.1f ms\n", i, t.visible, t.answering);
  }
  rf::host::UnloadPlugin(plugin);
  for (const char* file : {"Runefold.dll", "Runefold.cfg"})
    DeleteFileA((folder + "\\" + file).c_str());
  RemoveDirectoryA(folder.c_str());

  std::printf("pluginStart to the dialog, %d runs\n", runs);
  std::printf("  first run: visible %.1f ms, answering %.1f ms\n", times[0].visible,
              times[0].answering);
  std::vector<double> visible, answering;
  for (std::size_t i = 1; i < times.size(); ++i) {
    visible.push_back(times[i].visible);
    answering.push_back(times[i].answering);
  }
  Print("later runs, visible", visible);
  Print("later runs, answering", answering);
  return 0;
}
