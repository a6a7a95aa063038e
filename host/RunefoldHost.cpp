// A stand-in HTML editor: a window with a text area and a command that
// starts the plug-in and inserts its text when the plug-in says so. It
// loads Runefold.dll from beside itself, as a real host does.
//
//   RunefoldHost                 interactive
//   RunefoldHost --script DIR    scripted run (no user needed): opens the
//                                picker, picks a character, types, presses
//                                OK, prints the result and writes
//                                screenshots into DIR
//   RunefoldHost --animation DIR the "Test" command's animation window,
//                                played for a moment, with a screenshot
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "host/animation_window.h"
#include "host/driver.h"
#include "host/script.h"

namespace {

constexpr int kCommandInsert = 1001;
constexpr int kCommandAnimation = 1002;
rf::host::Plugin g_plugin;
HWND g_edit = nullptr;

void InsertFromPlugin(HWND owner) {
  char* text = g_plugin.Start(0, 0, 0);
  if (g_plugin.ResultKind() == 1)
    SendMessageA(g_edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  SetFocus(g_edit);
  (void)owner;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      g_edit = CreateWindowExA(
          WS_EX_CLIENTEDGE, "EDIT", "",
          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
          0, 0, hwnd, nullptr, GetModuleHandleA(nullptr), nullptr);
      return 0;
    case WM_SIZE:
      MoveWindow(g_edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kCommandInsert) InsertFromPlugin(hwnd);
      if (LOWORD(wp) == kCommandAnimation) rf::host::ShowAnimationWindow(hwnd);
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeHostWindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "RunefoldHost";
  RegisterClassA(&wc);
  HMENU menu = CreateMenu();
  HMENU tools = CreatePopupMenu();
  AppendMenuA(tools, MF_STRING, kCommandInsert, "&Sonderzeichen...\tF2");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "&Einf\xFCgen");
  HMENU test = CreatePopupMenu();
  AppendMenuA(test, MF_STRING, kCommandAnimation, "&Animation...");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(test), "&Test");
  return CreateWindowExA(0, wc.lpszClassName, "Runefold Host - HTML-Editor", WS_OVERLAPPEDWINDOW,
                         40, 40, 640, 420, nullptr, menu, wc.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const bool scripted = argc >= 2 && std::string(argv[1]) == "--script";
  const bool animation = argc >= 2 && std::string(argv[1]) == "--animation";
  const std::string shots = argc >= 3 ? argv[2] : ".";
  try {
    g_plugin = rf::host::LoadPlugin();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "RunefoldHost: %s\n", e.what());
    return 2;
  }
  std::printf("Runefold geladen, Schnittstellenversion %d\n", g_plugin.InterfaceVersion());
  HWND host = MakeHostWindow();
  ShowWindow(host, SW_SHOW);
  UpdateWindow(host);

  if (animation) {
    const int rc = rf::host::RunAnimationScript(host, shots);
    DestroyWindow(host);
    rf::host::UnloadPlugin(g_plugin);
    return rc;
  }
  if (scripted) {
    const int rc = rf::host::RunDemoScript(g_plugin, host, g_edit, shots);
    DestroyWindow(host);
    rf::host::UnloadPlugin(g_plugin);
    return rc;
  }

  ACCEL accel = {FVIRTKEY, VK_F2, kCommandInsert};
  HACCEL table = CreateAcceleratorTableA(&accel, 1);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorA(host, table, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  DestroyAcceleratorTable(table);
  rf::host::UnloadPlugin(g_plugin);
  return 0;
}
