#include "host/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <utility>

#include "host/png_writer.h"

namespace rf::host {
namespace {

using Clock = std::chrono::steady_clock;

struct FindTop {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindTop*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  if (f->caption == text) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

struct FindNamed {
  std::string name;
  HWND found = nullptr;
};

BOOL CALLBACK FindNamedProc(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindNamed*>(lp);
  if (NameOf(hwnd) == f->name) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1);
}

Plugin LoadPlugin(const std::string& folder) {
  const std::string dir = folder.empty() ? ProgramFolder() : folder;
  const std::string path =
      dir + (dir.empty() || dir.back() == '\\' || dir.back() == '/' ? "" : "\\") + "Runefold.dll";
  Plugin p;
  p.module = LoadLibraryA(path.c_str());
  if (!p.module) throw std::runtime_error("Cannot load " + path);
  p.InterfaceVersion = reinterpret_cast<decltype(p.InterfaceVersion)>(
      reinterpret_cast<void*>(GetProcAddress(p.module, "pluginInterfaceVersion")));
  p.Start = reinterpret_cast<decltype(p.Start)>(
      reinterpret_cast<void*>(GetProcAddress(p.module, "pluginStart")));
  p.ResultKind = reinterpret_cast<decltype(p.ResultKind)>(
      reinterpret_cast<void*>(GetProcAddress(p.module, "pluginRueckgabetyp")));
  if (!p.InterfaceVersion || !p.Start || !p.ResultKind) {
    FreeLibrary(p.module);
    throw std::runtime_error("Missing exports in " + path);
  }
  return p;
}

void UnloadPlugin(Plugin& plugin) {
  if (plugin.module) FreeLibrary(plugin.module);
  plugin = {};
}

HWND WaitForWindow(const std::string& caption, int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    FindTop f{caption};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (Clock::now() < end);
  return nullptr;
}

bool WaitForWindowGone(HWND window, int timeout_ms) {
  const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    if (!IsWindow(window) || !IsWindowVisible(window)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (Clock::now() < end);
  return false;
}

std::string NameOf(HWND window) {
  const char* name = static_cast<const char*>(GetPropA(window, "RfName"));
  return name ? name : "";
}

HWND FindControl(HWND root, const std::string& name) {
  FindNamed f{name};
  EnumChildWindows(root, FindNamedProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

HWND Control(HWND root, const std::string& name) {
  HWND h = FindControl(root, name);
  if (!h) throw std::runtime_error("No control " + name);
  return h;
}

std::string GetText(HWND window) {
  const int n = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  const int got =
      static_cast<int>(SendMessageA(window, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(s.data())));
  s.resize(static_cast<std::size_t>(got));
  return s;
}

void SetText(HWND window, const std::string& text) {
  SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

static LPARAM Point(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                    static_cast<WORD>(static_cast<SHORT>(y)));
}

void MouseMove(HWND window, int x, int y) {
  SendMessageA(window, WM_MOUSEMOVE, 0, Point(x, y));
}

void MouseDown(HWND window, int x, int y, UINT msg) {
  const WPARAM held = msg == WM_RBUTTONDOWN   ? MK_RBUTTON
                      : msg == WM_MBUTTONDOWN ? MK_MBUTTON
                                              : MK_LBUTTON;
  SendMessageA(window, msg, held, Point(x, y));
}

void MouseUp(HWND window, int x, int y, UINT msg) {
  SendMessageA(window, msg, 0, Point(x, y));
}

void Click(HWND window, int x, int y) {
  MouseDown(window, x, y);
  MouseUp(window, x, y);
}

void PressButton(HWND button) {
  PostMessageA(button, BM_CLICK, 0, 0);
  Sync(button);
}

void PostKey(HWND window, WPARAM key) {
  const UINT scan = MapVirtualKeyA(static_cast<UINT>(key), 0);
  PostMessageA(window, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageA(window, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

void TypeText(HWND window, const std::string& text) {
  for (char c : text) PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
  Sync(window);
}

void Sync(HWND window) {
  // Dialogs of the framework set the event of this message when they reach
  // it, that is, after everything posted to them before it.
  static const UINT sync_message = RegisterWindowMessageA("RfSync");
  HWND root = GetAncestor(window, GA_ROOT);
  if (!IsWindow(root)) return;
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  // A window that closes drops the message: stop waiting when it goes.
  if (PostMessageA(root, sync_message, 0, reinterpret_cast<LPARAM>(event))) {
    for (int waited = 0; waited < 5000; waited += 10) {
      if (WaitForSingleObject(event, 10) == WAIT_OBJECT_0) break;
      if (!IsWindow(root) || !IsWindowVisible(root)) break;
    }
  }
  CloseHandle(event);
}

std::vector<HWND> RadioItems(HWND group) {
  std::vector<HWND> items;
  for (HWND c = GetWindow(group, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) items.push_back(c);
  // Children are listed top of z-order first; items were made in order.
  std::sort(items.begin(), items.end(),
            [](HWND a, HWND b) { return GetDlgCtrlID(a) < GetDlgCtrlID(b); });
  return items;
}

int CheckedItem(HWND group) {
  const auto items = RadioItems(group);
  for (std::size_t i = 0; i < items.size(); ++i)
    if (SendMessageA(items[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
  return -1;
}

void ChooseItem(HWND group, int index) {
  PressButton(RadioItems(group).at(static_cast<std::size_t>(index)));
}

void SelectTab(HWND tab_control, int index) {
  RECT r = {};
  SendMessageA(tab_control, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  Click(tab_control, x, y);
  Sync(tab_control);
}

int SelectedTab(HWND tab_control) {
  return static_cast<int>(SendMessageA(tab_control, TCM_GETCURSEL, 0, 0));
}

RECT RectInParent(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

COLORREF Screenshot::Pixel(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return RGB(rgb[i], rgb[i + 1], rgb[i + 2]);
}

Screenshot CaptureWindow(HWND window, bool client_only) {
  RECT r = {};
  if (client_only) {
    GetClientRect(window, &r);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  } else {
    GetWindowRect(window, &r);
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sync(window);
  // Wine hands a window's painting to the X server a little later, from the
  // window's own thread, and later still on a busy machine: the screen shows
  // the window once three readings over 300 ms agree. A blinking caret can
  // keep them apart; the wait is bounded.
  Screenshot shot = CaptureScreen(r);
  int same = 0;
  for (int tries = 0; tries < 40 && same < 2; ++tries) {
    Sleep(150);
    Sync(window);
    Screenshot again = CaptureScreen(r);
    same = again.rgb == shot.rgb ? same + 1 : 0;
    shot = std::move(again);
  }
  return shot;
}

Screenshot CaptureScreen(const RECT& r) {
  Screenshot shot;
  shot.width = r.right - r.left;
  shot.height = r.bottom - r.top;
  if (shot.width <= 0 || shot.height <= 0) return shot;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = shot.width;
  bi.bmiHeader.biHeight = -shot.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  shot.rgb.resize(static_cast<std::size_t>(shot.width) * shot.height * 3);
  const auto* px = static_cast<const std::uint8_t*>(bits);
  for (std::size_t i = 0; i < static_cast<std::size_t>(shot.width) * shot.height; ++i) {
    shot.rgb[i * 3] = px[i * 4 + 2];
    shot.rgb[i * 3 + 1] = px[i * 4 + 1];
    shot.rgb[i * 3 + 2] = px[i * 4];
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return shot;
}

bool SavePng(const Screenshot& shot, const std::string& path) {
  return WritePngFile(path, shot.width, shot.height, shot.rgb);
}

}  // namespace rf::host
