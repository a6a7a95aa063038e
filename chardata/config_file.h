// The configuration file "Runefold.cfg" beside the module: its path and the
// profile calls on it. Both the loader and the remembered choices read and
// write the file through these.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "chardata/profile_file.h"

namespace rf::chardata {

inline constexpr std::string_view kConfigFileName = "Runefold.cfg";

// A value could not be written; message "Kann nicht nach <path> schreiben".
class ConfigWriteError : public std::runtime_error {
 public:
  explicit ConfigWriteError(const std::string& path);
};

// The module's folder (up to and including the last "\" or ":") and the
// file name.
std::string ConfigFilePath(std::string_view module_file_name);

std::string ReadProfileText(ProfileFile& profile, const std::string& path,
                            const std::string& section, const std::string& key,
                            const std::string& default_text);
// Throws ConfigWriteError when the write fails.
void WriteProfileText(ProfileFile& profile, const std::string& path, const std::string& section,
                      const std::string& key, const std::string& text);
// What one name of a section's key list did to the section's lines.
enum class KeyEffect {
  kNewLine,         // a line of its own
  kRepeated,        // replaced the line of an earlier key of the same name
  kEmpty,           // an empty value: no line
  kRemovedEarlier,  // an empty value that removed an earlier key's line
};

// One "key=value" line per distinct key with a non-empty value, at the
// place the key first occurs. With `effects`, also what each name of the
// key list did, in the key list's order (the data file checker's report).
void ReadSectionLines(ProfileFile& profile, const std::string& path, const std::string& section,
                      std::vector<std::string>& lines, std::vector<KeyEffect>* effects = nullptr);

}  // namespace rf::chardata
