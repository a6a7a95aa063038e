// Loading the configuration file into the dialog and the store: the
// remembered choices first, then the twenty character sections, checked
// and parsed, with the bad-data reports.
#pragma once

#include <string>
#include <vector>

#include "chardata/char_table_kind.h"
#include "chardata/configuration_host.h"
#include "chardata/profile_file.h"

namespace rf::chardata {

// The two messages about bad data.
std::string LineCountMessage(TCharTableKind kind);
std::string FieldCountMessage(int line, TCharTableKind kind);

// Checks and parses one section's lines into its table; reports bad data
// through the host's bad-data box.
void ParseSection(ConfigurationHost& host, TCharTableKind kind,
                  const std::vector<std::string>& lines);

// The whole load at dialog creation: remembered choices, user-form names
// and templates, then the twenty sections. Never gives up on bad data.
void LoadConfiguration(ConfigurationHost& host, ProfileFile& profile);
// The same load from a file named by its path rather than found beside the
// module: the data file checker reads any file exactly as the dialog would.
void LoadConfigurationFrom(ConfigurationHost& host, ProfileFile& profile, const std::string& path);

}  // namespace rf::chardata
