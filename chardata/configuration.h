// The configuration file "Runefold.cfg" beside the module: its path, the
// profile calls on it, and loading it into the dialog and the store.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "chardata/char_table_kind.h"
#include "chardata/configuration_host.h"
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
// One "key=value" line per distinct key with a non-empty value, at the
// place the key first occurs.
void ReadSectionLines(ProfileFile& profile, const std::string& path, const std::string& section,
                      std::vector<std::string>& lines);

// The two messages about bad data.
std::string LineCountMessage(TCharTableKind kind);
std::string FieldCountMessage(int line, TCharTableKind kind);

// Checks and parses one section's lines into its table; reports bad data
// through the host's error box.
void ParseSection(ConfigurationHost& host, TCharTableKind kind,
                  const std::vector<std::string>& lines);

// The whole load at dialog creation: remembered choices, user-form names
// and templates, then the twenty sections. Never gives up on bad data.
void LoadConfiguration(ConfigurationHost& host, ProfileFile& profile);

}  // namespace rf::chardata
