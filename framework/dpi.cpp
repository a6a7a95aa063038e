#include "framework/dpi.h"

#include "framework/gdi.h"

namespace rf::fw {
namespace {

// Looked up at run time: the module also runs on systems without them.
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)(HANDLE);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which older headers lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

}  // namespace

int WindowDpi(HWND window) {
  static const auto get_dpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (get_dpi && window) {
    const UINT dpi = get_dpi(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kLayoutDpi;
}

Scale ScaleOfWindow(HWND window) {
  return Scale(ScalePercentForDpi(WindowDpi(window)));
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD ex_style, int dpi) {
  static const auto adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  if (adjust && adjust(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&rect, style, FALSE, ex_style);
}

PerMonitorAwareness::PerMonitorAwareness() {
  static const auto set_context =
      User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
  if (set_context) previous_ = set_context(kPerMonitorAwareV2);
}

PerMonitorAwareness::~PerMonitorAwareness() {
  static const auto set_context =
      User32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
  if (set_context && previous_) set_context(previous_);
}

}  // namespace rf::fw
