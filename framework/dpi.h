// Where a window's display scale comes from, and the thread's DPI awareness
// while the module's own windows are made.
#pragma once

#include <windows.h>

#include "framework/scale.h"

namespace rf::fw {

// The window's DPI: GetDpiForWindow where the system has it (Windows 10
// 1607 and later; an unaware window gets 96 there), else the screen's
// LOGPIXELSY (older systems and Wine, where LogPixels sets it).
int WindowDpi(HWND window);
Scale ScaleOfWindow(HWND window);

// WM_DPICHANGED, which older headers lack: wParam's high word is the new
// DPI, lParam the suggested window rectangle.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The window rectangle around a client rectangle, with the frame of that
// DPI where the system can say (AdjustWindowRectExForDpi), else the
// system's own.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD ex_style, int dpi);

// Puts the thread into per-monitor awareness for the windows made while it
// lives, and gives the thread its earlier setting back. Where the system
// has no per-thread awareness (before Windows 10 1607; Wine 8, whose
// SetThreadDpiAwarenessContext answers NULL), it does nothing.
class PerMonitorAwareness {
 public:
  PerMonitorAwareness();
  ~PerMonitorAwareness();
  PerMonitorAwareness(const PerMonitorAwareness&) = delete;
  PerMonitorAwareness& operator=(const PerMonitorAwareness&) = delete;

  bool Active() const { return previous_ != nullptr; }

 private:
  HANDLE previous_ = nullptr;  // the thread's DPI_AWARENESS_CONTEXT before
};

}  // namespace rf::fw
