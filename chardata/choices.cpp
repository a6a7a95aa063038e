#include "chardata/choices.h"

#include <array>

#include "chardata/char_store.h"
#include "chardata/config_file.h"
#include "chardata/hourglass.h"

namespace rf::chardata {
namespace {

constexpr std::array<std::string_view, kOutputKindCount> kOutputKindNames = {
    "Dezimal", "Benutzer1", "Hexadezimal", "Benutzer2", "Entitie", "Benutzer3",
};

}  // namespace

std::string_view OutputKindNameOf(int index) {
  if (index < 0 || index >= kOutputKindCount) return {};
  return kOutputKindNames[static_cast<std::size_t>(index)];
}

void SelectOutputKindByName(ConfigurationHost& host, std::string_view name) {
  for (int i = 0; i < kOutputKindCount; ++i) {
    if (kOutputKindNames[static_cast<std::size_t>(i)] == name) {
      host.SetOutputKindIndex(i);
      return;
    }
  }
}

std::string OutputKindName(const ConfigurationHost& host) {
  return std::string(OutputKindNameOf(host.OutputKindIndex()));
}

void SelectTableByName(ConfigurationHost& host, std::string_view name) {
  if (const auto kind = TableKindFromName(name)) host.ShowTable(*kind);
}

std::string TableKindName(const ConfigurationHost& host) {
  return std::string(TableKindNameOf(host.ShownTable()));
}

void SetUserFormName(ConfigurationHost& host, int k, std::string_view name) {
  if (name.empty() || k < 1 || k > 3) return;
  host.SetUserFormCaptions(k, std::string(name), std::string(name) + ":");
}

void SetDefaultTemplate(int k, std::string_view text) {
  if (text.empty() || k < 1 || k > 3) return;
  DefaultTemplate(k).Assign(text);
}

void SaveChoices(ConfigurationHost& host, ProfileFile& profile) {
  HourglassScope hourglass(host);
  const std::string path = ConfigFilePath(host.PluginModuleFileName());
  WriteProfileText(profile, path, "Ausgabe", "Typ", OutputKindName(host));
  WriteProfileText(profile, path, "Zeichensatz", "Typ", TableKindName(host));
}

}  // namespace rf::chardata
