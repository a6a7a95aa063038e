#include "host/animation_window.h"

#include <cstdio>
#include <memory>

#include "framework/graphic.h"
#include "gif/win/gifgraphic_win.h"
#include "gif/win/gifpainter_win.h"
#include "host/driver.h"

namespace rf::host {
namespace {

constexpr char kClass[] = "RunefoldAnimation";
constexpr int kScale = 3;

struct AnimationState {
  std::unique_ptr<gif::TGIFGraphic> picture;
  int frames_shown = 0;
};

AnimationState* StateOf(HWND hwnd) {
  return reinterpret_cast<AnimationState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

std::unique_ptr<gif::TGIFGraphic> LoadAnimation(HWND hwnd, AnimationState& state) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, "ANIMATION", fw::kPictureResourceType);
  if (res == nullptr) return nullptr;
  HGLOBAL data = LoadResource(module, res);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(data));
  if (bytes == nullptr) return nullptr;
  auto picture = std::make_unique<gif::TGIFGraphic>();
  picture->LoadFromBytes({bytes, SizeofResource(module, res)});
  // The painter draws into the picture's buffer; the window shows it anew.
  picture->OnChange = [hwnd] { InvalidateRect(hwnd, nullptr, FALSE); };
  picture->OnFrameEnd = [&state](gif::TGIFPainter&) { ++state.frames_shown; };
  return picture;
}

LRESULT CALLBACK AnimationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      auto* state = new AnimationState;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      try {
        state->picture = LoadAnimation(hwnd, *state);
      } catch (const std::exception& e) {
        MessageBoxA(hwnd, e.what(), "Animation", MB_ICONERROR | MB_OK);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      AnimationState* state = StateOf(hwnd);
      if (state != nullptr && state->picture && !state->picture->Empty()) {
        fw::Canvas canvas(dc);
        try {
          state->picture->Draw(canvas, client);
        } catch (const std::exception&) {
          FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
        }
      } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      // Freeing the picture stops its painter.
      delete StateOf(hwnd);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

HWND ShowAnimationWindow(HWND owner) {
  WNDCLASSA wc = {};
  if (!GetClassInfoA(GetModuleHandleA(nullptr), kClass, &wc)) {
    wc.lpfnWndProc = AnimationProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
  }
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT r = {0, 0, 96 * kScale, 48 * kScale};
  AdjustWindowRect(&r, style, FALSE);
  HWND wnd = CreateWindowExA(0, kClass, "Animation - TGIFImage", style, 120, 120, r.right - r.left,
                             r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (wnd != nullptr) ShowWindow(wnd, SW_SHOW);
  return wnd;
}

int AnimationFramesShown(HWND window) {
  AnimationState* state = StateOf(window);
  return state != nullptr ? state->frames_shown : 0;
}

int RunAnimationScript(HWND owner, const std::string& shot_dir) {
  HWND wnd = ShowAnimationWindow(owner);
  if (wnd == nullptr) return 1;
  UpdateWindow(wnd);
  // Play for a second and a half, serving the painter's calls.
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 1500) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  const int shown = AnimationFramesShown(wnd);
  const std::string path = shot_dir + "\\animation.png";
  if (SavePng(CaptureWindow(wnd, true), path)) std::printf("Bildschirmfoto: %s\n", path.c_str());
  std::printf("Animation: %d Bilder gezeigt\n", shown);
  std::fflush(stdout);
  DestroyWindow(wnd);
  return shown > 1 ? 0 : 1;
}

}  // namespace rf::host
