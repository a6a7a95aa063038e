#include "plugin/ModuleStart.h"

#include <windows.h>
#include <commctrl.h>

#include "info/NxHotLabel.h"

namespace rf::plugin {

void ModuleStart() {
  // Tab controls, and tooltips for the hints.
  INITCOMMONCONTROLSEX icc = {sizeof icc,
                              ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  info::RegisterNxHotLabel();
}

void ModuleStop() {}

}  // namespace rf::plugin
