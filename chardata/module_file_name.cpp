#include "chardata/module_file_name.h"

#include <windows.h>

namespace rf::chardata {

std::string PluginModuleFileName() {
  // The handle of the module this code is linked into: the plug-in, not
  // the host program that loaded it.
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&PluginModuleFileName), &self)) {
    return {};
  }
  char buf[261];
  const DWORD n = GetModuleFileNameA(self, buf, sizeof buf);
  return std::string(buf, n < sizeof buf ? n : sizeof buf - 1);
}

}  // namespace rf::chardata
