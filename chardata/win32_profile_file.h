// The profile calls on the Windows profile functions themselves.
#pragma once

#include "chardata/profile_file.h"

namespace rf::chardata {

class Win32ProfileFile final : public ProfileFile {
 public:
  std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override;
  std::string ReadText(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& default_text) override;
  bool WriteText(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override;
};

}  // namespace rf::chardata
