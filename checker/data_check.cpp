#include "checker/data_check.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "chardata/case_fold.h"
#include "chardata/char_entry.h"
#include "chardata/char_store.h"
#include "chardata/char_table_kind.h"
#include "chardata/choices.h"
#include "chardata/config_file.h"
#include "chardata/configuration.h"
#include "chardata/portable_profile_file.h"
#include "chardata/profile_text.h"
#include "chardata/text_utils.h"
#include "checker/check_texts.h"

namespace rf::checker {
namespace {

using namespace rf::chardata;

// The dialog as the load meets it: the layout's choices, every bad-data
// box recorded and closed (a closed box changes nothing).
class RecordingDialog final : public ConfigurationHost {
 public:
  std::vector<std::string> messages;

  int OutputKindIndex() const override { return 0; }
  void SetOutputKindIndex(int) override {}
  TCharTableKind ShownTable() const override { return ctISO8859_3; }
  void ShowTable(TCharTableKind) override {}
  void SetUserFormCaptions(int, const std::string&, const std::string&) override {}
  BoxAnswer ShowBadDataBox(const std::string& text) override {
    messages.push_back(text);
    return BoxAnswer::kClosed;
  }
  void DiscardResult() override {}
  void SetHourglass(bool) override {}
  std::string PluginModuleFileName() const override { return {}; }
};

std::optional<std::string> ReadBytes(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return chardata::ReadFileBytes(path);
}

// No write bit (Windows' read-only attribute, as Wine maps it too), or no
// write access for this user.
bool IsReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  return (st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool IsDecimal(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

class Checker {
 public:
  Checker(const std::string& path, const std::string& bytes)
      : path_(path), parsed_(ParseProfile(bytes)) {}

  Report Run(bool read_only) {
    RecordingDialog dialog;
    LoadConfigurationFrom(dialog, profile_, path_);
    report_.load_messages = std::move(dialog.messages);

    CheckSettings();
    for (TCharTableKind kind : kAllCharTableKinds) CheckTable(kind);
    if (read_only) {
      Add(0, FileReadOnly(), ConfigWriteError(path_).what(), std::string(kErrorBoxCaption));
    }
    return std::move(report_);
  }

 private:
  void Add(std::size_t line_index_plus_one, std::string text, std::string message = {},
           std::string caption = {}) {
    report_.findings.push_back(
        {line_index_plus_one, std::move(text), std::move(message), std::move(caption)});
  }

  // Line (from 1) of a key as a value lookup finds it; 0 when none does.
  std::size_t KeyLine(std::string_view section, std::string_view key) const {
    const ProfileKey* k = parsed_.FindKey(section, key);
    return k == nullptr ? 0 : k->line + 1;
  }

  std::string Read(const std::string& section, const std::string& key, const std::string& dflt) {
    return ReadProfileText(profile_, path_, section, key, dflt);
  }

  // A value that the 1024-character buffer cuts.
  void CheckValueLength(const std::string& section, const ProfileKey& key) {
    if (key.value && CopyProfileValue(*key.value, key.value->size() + 2).size() >
                         static_cast<std::size_t>(kValueBufferSize - 1)) {
      Add(key.line + 1, ValueTooLong(section, key.name));
    }
  }

  void CheckSettingsValue(const std::string& section, const std::string& key) {
    if (const ProfileKey* k = parsed_.FindKey(section, key)) CheckValueLength(section, *k);
  }

  void CheckSettings() {
    const std::string output = Read("Ausgabe", "Typ", "ERROR");
    bool known = false;
    for (int i = 0; i < kOutputKindCount; ++i) known = known || OutputKindNameOf(i) == output;
    const std::size_t output_line = KeyLine("Ausgabe", "Typ");
    CheckSettingsValue("Ausgabe", "Typ");
    if (!known) Add(output_line, OutputKindUnknown(output, output_line == 0));

    const std::string table = Read("Zeichensatz", "Typ", "ERROR");
    const std::size_t table_line = KeyLine("Zeichensatz", "Typ");
    CheckSettingsValue("Zeichensatz", "Typ");
    if (!TableKindFromName(table)) Add(table_line, TableUnknown(table, table_line == 0));

    for (int k = 1; k <= 3; ++k) CheckSettingsValue("Benutzer", "Typ" + std::to_string(k));
    for (int k = 1; k <= 3; ++k) {
      const std::string key = std::string("Typ") + std::to_string(k);
      CheckSettingsValue("Default", key);
      const std::string text = Read("Default", key, "");
      if (text.size() > TemplateText::kCapacity) {
        Add(KeyLine("Default", key), TemplateTooLong(k, text.size()));
      }
    }
  }

  void CheckTable(TCharTableKind kind) {
    const std::string section(SectionName(kind));
    const int expected = TableEntryCount(kind);

    // The first section of a name is the one read.
    const ProfileSection* first = nullptr;
    for (const ProfileSection& s : parsed_.sections) {
      if (!EqualsIgnoringAsciiCase(s.name, section) || s.header_line == std::string::npos) continue;
      if (first == nullptr) {
        first = &s;
      } else {
        Add(s.header_line + 1, SectionRepeated(section, first->header_line + 1));
      }
    }

    std::vector<std::string> lines;
    std::vector<KeyEffect> effects;
    ReadSectionLines(profile_, path_, section, lines, &effects);
    const bool count_right = lines.size() == static_cast<std::size_t>(expected);
    if (!count_right) {
      Add(first == nullptr ? 0 : first->header_line + 1,
          first == nullptr ? SectionMissing(section, expected)
                           : SectionLineCount(section, lines.size(), expected),
          LineCountMessage(kind), std::string(kBadDataBoxCaption));
    }
    if (first != nullptr) CheckKeys(section, *first, effects);

    for (std::size_t i = 0; i < lines.size(); ++i) {
      CheckLine(kind, static_cast<int>(i), lines[i], count_right);
    }
  }

  // What made the section's line count wrong, at the lines that did it.
  void CheckKeys(const std::string& section, const ProfileSection& s,
                 const std::vector<KeyEffect>& effects) {
    const KeyList list = ListKeys(s);
    for (const ProfileKey& key : s.keys) {
      if (!key.value && !key.name.empty() && key.name[0] != ';') {
        Add(key.line + 1, LineWithoutEquals(section));
      }
    }
    for (std::size_t j = 0; j < list.entries.size() && j < effects.size(); ++j) {
      const KeyListEntry& e = list.entries[j];
      if (e.cut) continue;  // reported with the cut list below
      switch (effects[j]) {
        case KeyEffect::kNewLine:
          break;
        case KeyEffect::kRepeated:
          Add(e.line + 1, KeyRepeated(section, e.name));
          break;
        case KeyEffect::kEmpty:
          Add(e.line + 1, KeyEmpty(section, e.name));
          break;
        case KeyEffect::kRemovedEarlier:
          Add(e.line + 1, KeyRemovesEarlier(section, e.name));
          break;
      }
      if (const ProfileKey* k = parsed_.FindKey(section, e.name)) CheckValueLength(section, *k);
    }
    if (!list.complete) {
      // The first key the list leaves out or cuts.
      std::size_t line = s.header_line + 1;
      if (!list.entries.empty() && list.entries.back().cut) {
        line = list.entries.back().line + 1;
      } else {
        const std::size_t last = list.entries.empty() ? s.header_line : list.entries.back().line;
        for (const ProfileKey& key : s.keys) {
          if (key.line > last && key.value && (key.name.empty() || key.name[0] != ';')) {
            line = key.line + 1;
            break;
          }
        }
      }
      Add(line, KeyListCut(section));
    }
  }

  void CheckLine(TCharTableKind kind, int i, const std::string& line, bool count_right) {
    const std::string section(SectionName(kind));
    const std::size_t at = KeyLine(section, ExtractField(line, "=", 1));
    if (!HasSeparatorCount(line, ",", 5)) {
      const auto commas = static_cast<std::size_t>(std::count(line.begin(), line.end(), ','));
      if (count_right) {
        Add(at, CommaCount(section, i, commas, true), FieldCountMessage(i, kind),
            std::string(kBadDataBoxCaption));
      } else {
        Add(at, CommaCount(section, i, commas, false));
      }
    }
    const std::string number = ExtractField(line, ",", 2);
    if (!number.empty()) {
      const std::int32_t value = TextToNumber(number);
      if (!IsDecimal(number)) {
        Add(at, NumberNotNumber(section, i, number));
      } else if (value >= 128 && value <= 159) {
        Add(at, NumberC1(section, i, value));
      }
      const bool dec_cut = number.size() + 3 > decltype(TCharEntry::DecRef)::kCapacity;
      const bool hex_cut = value < 0 || value > 0xFFFF;
      if (dec_cut || hex_cut) Add(at, NumberTooLong(section, i, number));
    }
    const std::string entity = ExtractField(line, ",", 3);
    if (entity.size() + 2 > decltype(TCharEntry::EntityRef)::kCapacity) {
      Add(at, EntityTooLong(section, i, entity));
    }
    for (int k = 1; k <= 3; ++k) {
      const std::string form = ExtractField(line, ",", 3 + k);
      if (form.size() > decltype(TCharEntry::User1)::kCapacity) {
        Add(at, UserFormTooLong(section, i, k, form.size()));
      }
    }
  }

  std::string path_;
  ParsedProfile parsed_;
  PortableProfileFile profile_;
  Report report_;
};

}  // namespace

int Report::ExitStatus() const {
  if (!readable) return 2;
  for (const Finding& f : findings) {
    if (!f.message.empty()) return 1;
  }
  return 0;
}

std::vector<std::string> Report::Messages() const {
  std::vector<std::string> out;
  for (const Finding& f : findings) {
    if (!f.message.empty()) out.push_back(f.message);
  }
  return out;
}

Report CheckDataFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) {
    Report r;
    r.readable = false;
    r.findings.push_back({0, FileUnreadable(), {}, {}});
    return r;
  }
  return Checker(path, *bytes).Run(IsReadOnly(path));
}

}  // namespace rf::checker
