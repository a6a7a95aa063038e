// The report is UTF-8; a Windows console shows it only when told so.
#include <windows.h>

namespace rf::checker {

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
}

}  // namespace rf::checker
