#include "chardata/win32_profile_file.h"

#include <windows.h>

#include <vector>

#include "chardata/profile_text.h"

namespace rf::chardata {

std::vector<std::string> Win32ProfileFile::KeyNames(const std::string& path,
                                                    const std::string& section) {
  std::vector<char> buf(kKeyListBufferSize);
  const DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, nullptr, buf.data(),
                                           kKeyListBufferSize, path.c_str());
  if (n == 0) return {};
  return SplitKeyBlock(buf.data(), n);
}

std::string Win32ProfileFile::ReadText(const std::string& path, const std::string& section,
                                       const std::string& key, const std::string& default_text) {
  char buf[kValueBufferSize];
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), default_text.c_str(), buf,
                                           kValueBufferSize, path.c_str());
  return std::string(buf, n < kValueBufferSize ? n : kValueBufferSize - 1);
}

bool Win32ProfileFile::WriteText(const std::string& path, const std::string& section,
                                 const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

}  // namespace rf::chardata
