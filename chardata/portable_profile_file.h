// Profile files read and written without Windows, with the answers the
// Windows profile functions give for the same files: sections and keys
// compared without regard to letter case, the first of repeated sections
// and keys wins, blanks around names and values dropped, one pair of
// surrounding quotes removed from a value.
#pragma once

#include <optional>
#include <string>

#include "chardata/profile_file.h"

namespace rf::chardata {

// A file's bytes, or nothing where it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

class PortableProfileFile final : public ProfileFile {
 public:
  std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override;
  std::string ReadText(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& default_text) override;
  bool WriteText(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) override;
  void BeginSnapshot() override;
  void EndSnapshot() override;
};

}  // namespace rf::chardata
