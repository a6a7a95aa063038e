#include "framework/hint_window.h"

#include <commctrl.h>

#include "framework/module.h"

namespace rf::fw {

HintWindow::HintWindow(HWND tool, std::function<std::string()> text)
    : tool_(tool), text_(std::move(text)) {
  tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(tool, GA_ROOT), nullptr,
                         ModuleHandle(), nullptr);
  if (!tip_) return;  // no tooltip: the control works without its hint
  TTTOOLINFOA info = {};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND;
  info.hwnd = tool;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

HintWindow::~HintWindow() {
  if (tip_) DestroyWindow(tip_);
}

void HintWindow::Relay(UINT msg, WPARAM wp, LPARAM lp) {
  if (!tip_) return;
  MSG m = {tool_, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&m.pt);
  SendMessageA(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

bool HintWindow::HandleNotify(LPARAM lp, LRESULT* result) {
  auto* hdr = reinterpret_cast<NMHDR*>(lp);
  if (!tip_ || hdr->hwndFrom != tip_) return false;
  if (hdr->code == TTN_GETDISPINFOA) {
    auto* di = reinterpret_cast<NMTTDISPINFOA*>(lp);
    shown_ = text_();
    di->lpszText = shown_.data();
    di->hinst = nullptr;
  } else if (hdr->code == TTN_GETDISPINFOW) {
    auto* di = reinterpret_cast<NMTTDISPINFOW*>(lp);
    shown_ = text_();
    const int n = MultiByteToWideChar(CP_ACP, 0, shown_.c_str(), -1, nullptr, 0);
    shown_wide_.assign(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, shown_.c_str(), -1, shown_wide_.data(), n);
    di->lpszText = shown_wide_.data();
    di->hinst = nullptr;
  } else {
    return false;
  }
  *result = 0;
  return true;
}

}  // namespace rf::fw
