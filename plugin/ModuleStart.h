// What happens when the module loads and unloads: the framework and the
// picture formats initialise; no file is read and no window is made.
#pragma once

namespace rf::plugin {

void ModuleStart();
void ModuleStop();

}  // namespace rf::plugin
