// The module this code is linked into (the plug-in DLL, or a test program),
// and the names derived from its file.
#pragma once

#include <windows.h>

#include <string>

namespace rf::fw {

// Handle of the module that contains this code, not the host executable's.
HMODULE ModuleHandle();
// Full path of that module, as GetModuleFileNameA reports it.
std::string ModuleFileName();
// The title of error boxes: the module's file name without folder and
// extension, its first letter as stored and the rest in lower case.
std::string ApplicationTitle();
// Same rule, for any path (kept apart so it can be tested on its own).
std::string TitleFromPath(const std::string& path);

}  // namespace rf::fw
