#include "plugin/ModuleStart.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "gif/win/gifgraphic_win.h"
#include "info/NxHotLabel.h"

namespace rf::plugin {

void ModuleStart() {
  // Tab controls, and tooltips for the hints.
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  info::RegisterNxHotLabel();
  // The dialogs' pictures are GIF streams; their class must be known before
  // the first dialog is built.
  gif::RegisterGIFFormat();
}

void ModuleStop() {
  gif::UnregisterGIFFormat();
}

}  // namespace rf::plugin
