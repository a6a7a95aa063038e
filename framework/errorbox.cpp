#include "framework/errorbox.h"

#include "framework/module.h"

namespace rf::fw {

void ShowExceptionBox(const std::string& message) {
  const std::string text = message + ".";
  const std::string title = ApplicationTitle();
  HWND owner = GetActiveWindow();
  MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace rf::fw
