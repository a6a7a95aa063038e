// The demo host's scripted session: what a user would do in one run of
// the picker, done by a second thread, with screenshots.
#pragma once

#include <windows.h>

#include <string>

#include "host/driver.h"

namespace rf::host {

// Returns the process exit code: 0 when the run ended as scripted.
int RunDemoScript(Plugin& plugin, HWND host_window, HWND host_edit, const std::string& shot_dir);

}  // namespace rf::host
