#include "framework/application.h"

#include <windows.h>

#include <algorithm>

#include "framework/control.h"
#include "framework/form.h"
#include "framework/module.h"
#include "framework/thread_sync.h"

namespace rf::fw {
namespace {

constexpr UINT kReleaseMessage = WM_APP + 0x3A1;

}  // namespace

struct ReleaseMessageWindow {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kReleaseMessage) {
      Application::Instance().ReleasePending();
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  static HWND& Handle() {
    static HWND hwnd = nullptr;
    return hwnd;
  }
  static HWND Get() {
    HWND& hwnd = Handle();
    if (hwnd) return hwnd;
    hwnd = [] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = Proc;
      wc.hInstance = ModuleHandle();
      wc.lpszClassName = "RfReleaseWindow";
      RegisterClassA(&wc);
      return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ModuleHandle(), nullptr);
    }();
    return hwnd;
  }
};

namespace {
std::vector<Form*> g_pending_release;
}

Application& Application::Instance() {
  static Application app;
  return app;
}

Form* Application::Adopt(std::unique_ptr<Form> form) {
  forms_.push_back(std::move(form));
  return forms_.back().get();
}

void Application::ReleaseLater(Form* form) {
  g_pending_release.push_back(form);
  PostMessageA(ReleaseMessageWindow::Get(), kReleaseMessage, 0, 0);
}

void Application::ReleasePending() {
  auto pending = std::move(g_pending_release);
  g_pending_release.clear();
  for (Form* f : pending)
    std::erase_if(forms_, [f](const std::unique_ptr<Form>& p) { return p.get() == f; });
}

void Application::DestroyAll() {
  g_pending_release.clear();
  forms_.clear();
}

void Application::Shutdown() {
  DestroyAll();
  HWND& release_window = ReleaseMessageWindow::Handle();
  if (release_window) DestroyWindow(release_window);
  release_window = nullptr;
  // Classes a DLL registered outlive it unless it removes them; a host that
  // loads the module again at another address would meet stale procedures.
  for (const char* name : {"RfReleaseWindow", FrameworkWindowClass(), kSyncWindowClass})
    UnregisterClassA(name, ModuleHandle());
}

}  // namespace rf::fw
