// The module this code is linked into (the plug-in DLL, or a test program),
// and the title derived from its file. (The plug-in's own path, for its
// configuration file, is chardata::PluginModuleFileName.)
#pragma once

#include <windows.h>

#include <string>

namespace rf::fw {

// Handle of the module that contains this code, not the host executable's.
HMODULE ModuleHandle();
// The title of exception boxes: the module's file name without folder and
// extension, its first letter as stored and the rest in lower case.
std::string ApplicationTitle();
// Same rule, for any path (kept apart so it can be tested on its own).
std::string TitleFromPath(const std::string& path);

}  // namespace rf::fw
