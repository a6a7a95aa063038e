// The tooltip of one control. Its text is asked for each time the tip is
// about to show, so the control can change it at that moment.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace rf::fw {

class HintWindow {
 public:
  // Notifications come to the tool window itself, which hands them to
  // HandleNotify.
  HintWindow(HWND tool, std::function<std::string()> text);
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;
  ~HintWindow();

  HWND Handle() const { return tip_; }
  // Mouse messages of the tool, so the tip knows when to show and hide.
  void Relay(UINT msg, WPARAM wp, LPARAM lp);
  // A WM_NOTIFY the tool received; true when it was the tip asking.
  bool HandleNotify(LPARAM lp, LRESULT* result);

 private:
  HWND tool_;
  HWND tip_ = nullptr;
  std::function<std::string()> text_;
  std::string shown_;
  std::wstring shown_wide_;
};

}  // namespace rf::fw
