// The parsed form of a profile file and the rules Windows applies when it
// reads one; shared by the portable profile file and its tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rf::chardata {

struct ProfileKey {
  std::string name;
  std::optional<std::string> value;  // nothing for a line without "="
  std::size_t line;                  // index of its line in the file
};

struct ProfileSection {
  std::string name;
  std::size_t header_line;  // index of the header line; npos for keys before any header
  // (that nameless section is the one the empty name finds)
  std::vector<ProfileKey> keys;
  std::unordered_map<std::string, std::size_t> first_key;  // folded name -> index in keys
};

// How the file's bytes are text: 8-bit (ANSI), or UTF-16 marked by its
// byte order mark, which Windows reads into ANSI and writes back as UTF-16.
enum class ProfileEncoding { kAnsi, kUtf16Le, kUtf16Be };

struct ParsedProfile {
  ProfileEncoding encoding = ProfileEncoding::kAnsi;
  std::vector<std::string> lines;  // the file's lines without their line ends, in ANSI
  std::vector<ProfileSection> sections;

  // First section / first key of that section with the name (letter case
  // of A to Z ignored); nullptr when there is none. Lookups of a value drop
  // the blanks around the names asked for, the key list does not.
  const ProfileSection* FindSection(std::string_view name, bool trim = true) const;
  const ProfileKey* FindKey(std::string_view section, std::string_view key) const;
};

// Blanks as the profile reader drops them around lines, names and values.
bool IsProfileSpace(char c);
std::string_view TrimProfileSpace(std::string_view text);

ParsedProfile ParseProfile(std::string_view bytes);

// ANSI text as the bytes of a file in that encoding (UTF-16 with its byte
// order mark).
std::string EncodeProfileText(std::string_view ansi, ProfileEncoding encoding);

// A value (or default) as the reader returns it into a buffer of `size`
// characters: one pair of surrounding quotes removed, cut to size - 1.
std::string CopyProfileValue(std::string_view value, std::size_t size);

// The key list of a section as the 8192-byte key-list call fills it: the
// keys with "=" that are no comments, in file order, the last one that
// fits perhaps cut, empty names left out. `complete` is false when keys
// were cut or left out for want of room.
struct KeyListEntry {
  std::string name;
  std::size_t line;  // index of its line in the file
  bool cut = false;  // the name did not fit whole
};
struct KeyList {
  std::vector<KeyListEntry> entries;
  bool complete = true;
};
KeyList ListKeys(const ProfileSection& section);

// Splits the block the key-list call fills (names ended by zero bytes,
// `count` characters reported) into names. Empty names are skipped.
std::vector<std::string> SplitKeyBlock(const char* block, std::size_t count);

}  // namespace rf::chardata
