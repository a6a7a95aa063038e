// The choices the dialog remembers between runs (output kind and table),
// the user-form names and the user-form templates.
#pragma once

#include <string>
#include <string_view>

#include "chardata/configuration_host.h"
#include "chardata/profile_file.h"

namespace rf::chardata {

inline constexpr int kOutputKindCount = 6;

// Stored name of radio item 0..5 ("Dezimal", "Benutzer1", "Hexadezimal",
// "Benutzer2", "Entitie", "Benutzer3").
std::string_view OutputKindNameOf(int index);

// Exact comparisons; a name that matches nothing changes nothing.
void SelectOutputKindByName(ConfigurationHost& host, std::string_view name);
std::string OutputKindName(const ConfigurationHost& host);
void SelectTableByName(ConfigurationHost& host, std::string_view name);
std::string TableKindName(const ConfigurationHost& host);

// k = 1..3. An empty name or text changes nothing.
void SetUserFormName(ConfigurationHost& host, int k, std::string_view name);
void SetDefaultTemplate(int k, std::string_view text);

// Writes [Ausgabe] and [Zeichensatz] "Typ". Throws ConfigWriteError when
// the file cannot be written (the first failure ends the save); the dialog
// reports it and closes all the same.
void SaveChoices(ConfigurationHost& host, ProfileFile& profile);

}  // namespace rf::chardata
