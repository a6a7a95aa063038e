#include "chardata/configuration.h"

#include <cstdio>

#include "chardata/char_store.h"
#include "chardata/choices.h"
#include "chardata/config_file.h"
#include "chardata/free_text_store.h"
#include "chardata/hourglass.h"
#include "chardata/text_utils.h"

namespace rf::chardata {
namespace {

// Upper-case hex digits, at least four.
std::string HexText(std::int32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(value));
  return buf;
}

// Reports bad data. OK (button, Enter, Escape) gives up the run's result
// as the dialog's cancel does; closing the box leaves it. The result
// belongs to the dialog, so the host gives it up.
void ReportBadData(ConfigurationHost& host, const std::string& text) {
  if (host.ShowBadDataBox(text) == BoxAnswer::kConfirmed) host.DiscardResult();
}

// Field n (from 1) of the line split at every comma, as ExtractField gives
// it, without making the list.
std::string_view Field(std::string_view line, int n) {
  for (int i = 1; i < n; ++i) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return {};
    line.remove_prefix(comma + 1);
  }
  return line.substr(0, line.find(','));
}

void ParseLine(std::string_view line, TCharEntry& entry) {
  entry.Code = static_cast<std::uint8_t>(TextToNumber(line.substr(0, line.find('='))));

  const std::string_view number = Field(line, 2);
  if (number.empty()) {
    entry.DecRef.Clear();
    entry.DecDigits.Clear();
    entry.HexRef.Clear();
    entry.HexDigits.Clear();
  } else {
    const std::string n(number);
    const std::string hex = HexText(TextToNumber(n));
    entry.DecRef.Assign("&#" + n + ";");
    entry.DecDigits.Assign(n + ";");
    entry.HexRef.Assign("&#x" + hex + ";");
    entry.HexDigits.Assign(hex + ";");
  }

  const std::string_view entity = Field(line, 3);
  if (entity.empty()) {
    entry.EntityRef.Clear();
    entry.EntityName.Clear();
  } else {
    const std::string e(entity);
    entry.EntityRef.Assign("&" + e + ";");
    entry.EntityName.Assign(e + ";");
  }

  entry.User1.Assign(Field(line, 4));
  entry.User2.Assign(Field(line, 5));
  entry.User3.Assign(Field(line, 6));
}

}  // namespace

std::string LineCountMessage(TCharTableKind kind) {
  return "Der Bereich [" + std::string(SectionName(kind)) + "] hat die falsche Anzahl von Zeilen";
}

std::string FieldCountMessage(int line, TCharTableKind kind) {
  // Line feed before carriage return, as the message has always been.
  return "Zeile " + std::to_string(line) + " im Bereich [" + std::string(SectionName(kind)) +
         "] hat die falsche Anzahl von Parametern\n\rAbbrechen?";
}

void ParseSection(ConfigurationHost& host, TCharTableKind kind,
                  const std::vector<std::string>& lines) {
  if (lines.size() != static_cast<std::size_t>(TableEntryCount(kind))) {
    ReportBadData(host, LineCountMessage(kind));
    return;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!HasSeparatorCount(lines[i], ",", 5)) {
      ReportBadData(host, FieldCountMessage(static_cast<int>(i), kind));
    }
    ParseLine(lines[i], TableEntry(kind, static_cast<int>(i)));
    ParseEntryNotes(lines[i], TableEntryNotes(kind, static_cast<int>(i)));
  }
}

void LoadConfiguration(ConfigurationHost& host, ProfileFile& profile) {
  LoadConfigurationFrom(host, profile, ConfigFilePath(host.PluginModuleFileName()));
}

void LoadConfigurationFrom(ConfigurationHost& host, ProfileFile& profile, const std::string& path) {
  HourglassScope hourglass(host);
  ProfileSnapshot snapshot(profile);
  SectionLines section_lines;

  SelectOutputKindByName(host, ReadProfileText(profile, path, "Ausgabe", "Typ", "ERROR"));
  SelectTableByName(host, ReadProfileText(profile, path, "Zeichensatz", "Typ", "ERROR"));
  for (int k = 1; k <= 3; ++k) {
    const std::string n = std::to_string(k);
    SetUserFormName(host, k, ReadProfileText(profile, path, "Benutzer", "Typ" + n, "Benutzer" + n));
  }
  for (int k = 1; k <= 3; ++k) {
    SetDefaultTemplate(k, ReadProfileText(profile, path, "Default", "Typ" + std::to_string(k), ""));
  }
  // Every section is read before any is parsed.
  for (TCharTableKind kind : kAllCharTableKinds) {
    ReadSectionLines(profile, path, std::string(SectionName(kind)), section_lines[kind]);
  }
  for (TCharTableKind kind : kAllCharTableKinds) {
    ParseSection(host, kind, section_lines[kind]);
  }
}

}  // namespace rf::chardata
