#include "plugin/ModuleStart.h"

#include <windows.h>
#include <commctrl.h>

namespace rf::plugin {

void ModuleStart() {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
}

void ModuleStop() {}

}  // namespace rf::plugin
