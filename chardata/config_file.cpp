#include "chardata/config_file.h"

#include <unordered_map>

#include "chardata/case_fold.h"
#include "chardata/text_utils.h"

namespace rf::chardata {

ConfigWriteError::ConfigWriteError(const std::string& path)
    : std::runtime_error("Kann nicht nach " + path + " schreiben") {}

std::string ConfigFilePath(std::string_view module_file_name) {
  const std::size_t at = module_file_name.find_last_of("\\:");
  const std::string_view dir =
      at == std::string_view::npos ? std::string_view() : module_file_name.substr(0, at + 1);
  return std::string(dir) + std::string(kConfigFileName);
}

std::string ReadProfileText(ProfileFile& profile, const std::string& path,
                            const std::string& section, const std::string& key,
                            const std::string& default_text) {
  std::string text = profile.ReadText(path, section, key, default_text);
  if (text.size() > kValueBufferSize - 1) text.resize(kValueBufferSize - 1);
  return text;
}

void WriteProfileText(ProfileFile& profile, const std::string& path, const std::string& section,
                      const std::string& key, const std::string& text) {
  if (!profile.WriteText(path, section, key, text)) throw ConfigWriteError(path);
}

void ReadSectionLines(ProfileFile& profile, const std::string& path, const std::string& section,
                      std::vector<std::string>& lines, std::vector<KeyEffect>* effects) {
  // Where each key's line stands, by its folded name (the lines' keys are
  // compared without regard to letter case).
  std::unordered_map<std::string, std::size_t> where;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    where.emplace(FoldCase(ExtractField(lines[i], "=", 1)), i);
  }
  for (const std::string& key : profile.KeyNames(path, section)) {
    const std::string value = ReadProfileText(profile, path, section, key, "");
    const std::string folded = FoldCase(key);
    const auto found = where.find(folded);
    if (effects != nullptr) {
      const bool earlier = found != where.end();
      effects->push_back(!value.empty()
                             ? (earlier ? KeyEffect::kRepeated : KeyEffect::kNewLine)
                             : (earlier ? KeyEffect::kRemovedEarlier : KeyEffect::kEmpty));
    }
    if (!value.empty()) {
      if (found != where.end()) {
        lines[found->second] = key + "=" + value;
      } else {
        where.emplace(folded, lines.size());
        lines.push_back(key + "=" + value);
      }
    } else if (found != where.end()) {
      const std::size_t gone = found->second;
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(gone));
      where.erase(found);
      for (auto& [name, index] : where) {
        if (index > gone) --index;
      }
    }
  }
}

}  // namespace rf::chardata
