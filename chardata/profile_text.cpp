#include "chardata/profile_text.h"

#include "chardata/case_fold.h"
#include "chardata/cp1252.h"
#include "chardata/profile_file.h"

namespace rf::chardata {

bool IsProfileSpace(char c) {
  switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case '\x1A':  // end-of-file mark of old editors
      return true;
    default:
      return false;
  }
}

std::string_view TrimProfileSpace(std::string_view text) {
  while (!text.empty() && IsProfileSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileSpace(text.back())) text.remove_suffix(1);
  return text;
}

const ProfileSection* ParsedProfile::FindSection(std::string_view name, bool trim) const {
  if (trim) name = TrimProfileSpace(name);
  for (const ProfileSection& s : sections) {
    if (EqualsIgnoringAsciiCase(s.name, name)) return &s;
  }
  return nullptr;
}

const ProfileKey* ParsedProfile::FindKey(std::string_view section, std::string_view key) const {
  const ProfileSection* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const auto found = s->first_key.find(FoldAsciiCase(TrimProfileSpace(key)));
  return found == s->first_key.end() ? nullptr : &s->keys[found->second];
}

namespace {

// UTF-16 as the ANSI text the A functions return: a character code page
// 1252 cannot hold becomes "?" (a surrogate pair one "?"); an odd last byte
// is dropped.
std::string Utf16ToAnsi(std::string_view bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    const char32_t unit = big_endian ? (a << 8 | b) : (b << 8 | a);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const auto c = static_cast<unsigned char>(bytes[i + 2]);
      const auto d = static_cast<unsigned char>(bytes[i + 3]);
      const char32_t next = big_endian ? (c << 8 | d) : (d << 8 | c);
      if (next >= 0xDC00 && next < 0xE000) i += 2;
    }
    const std::optional<unsigned char> ansi = UnicodeToCp1252(unit);
    out += ansi ? static_cast<char>(*ansi) : '?';
  }
  return out;
}

}  // namespace

std::string EncodeProfileText(std::string_view ansi, ProfileEncoding encoding) {
  if (encoding == ProfileEncoding::kAnsi) return std::string(ansi);
  const bool big_endian = encoding == ProfileEncoding::kUtf16Be;
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ansi) {
    const char32_t cp = Cp1252ToUnicode(static_cast<unsigned char>(c));
    const char hi = static_cast<char>(cp >> 8);
    const char lo = static_cast<char>(cp & 0xFF);
    out += big_endian ? hi : lo;
    out += big_endian ? lo : hi;
  }
  return out;
}

ParsedProfile ParseProfile(std::string_view raw_bytes) {
  ParsedProfile p;
  std::string_view bytes = raw_bytes;
  // A UTF-16 file is read as its ANSI text, as the A functions return it.
  std::string converted;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    p.encoding = bytes[0] == '\xFE' ? ProfileEncoding::kUtf16Be : ProfileEncoding::kUtf16Le;
    converted = Utf16ToAnsi(bytes.substr(2), p.encoding == ProfileEncoding::kUtf16Be);
    bytes = converted;
  }
  // A UTF-8 byte order mark is skipped; the texts stay as they are.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  // Keys before the first header belong to a section no name reaches.
  p.sections.push_back({"", std::string::npos, {}, {}});

  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view raw = bytes.substr(pos, end - pos);
    // One line end: CR LF, LF or a lone CR.
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
    const std::size_t line_index = p.lines.size();
    p.lines.emplace_back(raw);

    const std::string_view line = TrimProfileSpace(raw);
    if (line.empty()) continue;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        p.sections.push_back(
            {std::string(TrimProfileSpace(line.substr(1, close - 1))), line_index, {}, {}});
        continue;
      }
      // A header without "]" is read as a key line.
    }
    ProfileKey key;
    key.line = line_index;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      key.name = line;
    } else {
      key.name = TrimProfileSpace(line.substr(0, eq));
      key.value = std::string(TrimProfileSpace(line.substr(eq + 1)));
    }
    ProfileSection& s = p.sections.back();
    s.first_key.emplace(FoldAsciiCase(key.name), s.keys.size());
    s.keys.push_back(std::move(key));
  }
  return p;
}

std::string CopyProfileValue(std::string_view value, std::size_t size) {
  if (size == 0) return {};
  bool quoted = false;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value.remove_prefix(1);
    quoted = true;
  }
  std::string out(value.substr(0, size - 1));
  // The closing quote goes only when the value fitted the buffer.
  if (quoted && size >= value.size() && !out.empty()) out.pop_back();
  return out;
}

KeyList ListKeys(const ProfileSection& section) {
  // Filled as the key-list call fills its buffer: names that do not fit are
  // cut, and the list ends where the buffer does.
  KeyList list;
  std::size_t room = kKeyListBufferSize;
  for (const ProfileKey& key : section.keys) {
    if (!key.value) continue;                               // lines without "="
    if (!key.name.empty() && key.name[0] == ';') continue;  // comments
    if (room <= 2) {
      list.complete = false;
      break;
    }
    const std::string name = key.name.substr(0, room - 2);
    const bool cut = name.size() < key.name.size();
    if (cut) list.complete = false;
    if (!name.empty()) list.entries.push_back({name, key.line, cut});
    room -= name.size() + 1;
  }
  return list;
}

std::vector<std::string> SplitKeyBlock(const char* block, std::size_t count) {
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i < count) {
    std::size_t j = i;
    while (j < count && block[j] != '\0') ++j;
    if (j > i) names.emplace_back(block + i, j - i);
    i = j + 1;
  }
  return names;
}

}  // namespace rf::chardata
