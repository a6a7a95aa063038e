#include "framework/module.h"

#include <cctype>

namespace rf::fw {
namespace {

// The framework sits below the character data, so the exception box's
// title reads the module's path here itself.
std::string ModuleFileName() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(ModuleHandle(), buffer, sizeof buffer);
  return std::string(buffer, n < sizeof buffer ? n : sizeof buffer - 1);
}

}  // namespace

HMODULE ModuleHandle() {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ModuleHandle), &module);
  return module;
}

std::string TitleFromPath(const std::string& path) {
  const auto slash = path.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  for (std::size_t i = 1; i < name.size(); ++i)
    name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  return name;
}

std::string ApplicationTitle() {
  return TitleFromPath(ModuleFileName());
}

}  // namespace rf::fw
