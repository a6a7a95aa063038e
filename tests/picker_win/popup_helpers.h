// Finding and reading the picker's popups (the preview and the search)
// from the driver thread: both are top-level windows of the process,
// named like every framework window.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "host/driver.h"

namespace rf::test {

struct WindowsNamed {
  const std::string* name;
  std::vector<HWND> windows;
};

inline BOOL CALLBACK CollectNamed(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<WindowsNamed*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId() && host::NameOf(hwnd) == *f->name) f->windows.push_back(hwnd);
  return TRUE;
}

inline std::vector<HWND> TopLevelWindowsNamed(const std::string& name) {
  WindowsNamed found{&name, {}};
  EnumWindows(CollectNamed, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

inline HWND TopLevelWindowNamed(const std::string& name) {
  const auto windows = TopLevelWindowsNamed(name);
  return windows.empty() ? nullptr : windows.front();
}

// Waits (bounded) until the condition holds; the machine may be busy.
inline bool WaitUntil(const std::function<bool()>& condition, int timeout_ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < end);
  return condition();
}

inline bool Showing(const std::string& name) {
  HWND w = TopLevelWindowNamed(name);
  return w && IsWindowVisible(w);
}

// The focused window of the thread that owns the dialog.
inline HWND FocusOf(HWND dialog) {
  GUITHREADINFO info = {sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

inline HWND ActiveOf(HWND dialog) {
  GUITHREADINFO info = {sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndActive;
}

// The rows of the search's result list, as the list holds their texts.
inline std::vector<std::string> ResultRows(HWND list) {
  std::vector<std::string> rows;
  const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    const int len = static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, i, 0));
    std::string text(static_cast<std::size_t>(len < 0 ? 0 : len) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(len < 0 ? 0 : len));
    rows.push_back(text);
  }
  return rows;
}

// Puts the real pointer on a point of a picture and reports the move, as
// the window system does: a pointer elsewhere would make the system send
// the picture a leave at once. False when the system refuses to move it.
inline bool PointAt(HWND picture, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(picture, &p);
  SetCursorPos(p.x, p.y);
  // Wine hands the move to the X server and learns of it a little later.
  const bool moved = WaitUntil(
      [&] {
        POINT now = {};
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
      },
      1000);
  host::MouseMove(picture, x, y);
  return moved;
}

inline constexpr const char* kSearchName = "FrmZeichenSuchen";
inline constexpr const char* kPreviewName = "FrmVorschau";
// Ctrl+F as the keyboard types it: the control character it becomes.
inline void PostCtrlF(HWND focus) {
  PostMessageA(focus, WM_CHAR, 6, 1);
}

}  // namespace rf::test
