#include "chardata/portable_profile_file.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "chardata/case_fold.h"
#include "chardata/profile_text.h"

namespace rf::chardata {
namespace {

struct FileStamp {
  long long size = -1;
  long long mtime_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

// Paths come in the Windows form; elsewhere "\\" separates folders too.
std::string NativePath(const std::string& path) {
#if defined(_WIN32)
  return path;
#else
  std::string p = path;
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  return p;
#endif
}

std::optional<FileStamp> Stamp(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  FileStamp s;
  s.size = static_cast<long long>(st.st_size);
#if defined(__linux__)
  s.mtime_ns = static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
#else
  s.mtime_ns = static_cast<long long>(st.st_mtime) * 1'000'000'000LL;
#endif
  return s;
}

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && wrote;
}

// The last file read, parsed once. Like the Windows profile functions it
// is checked against the file at every call. A file changed within the
// clock's granularity of its last read could keep size and time, so until
// its time is safely in the past its bytes are compared as well.
struct Cache {
  std::string path;
  bool checked_in_snapshot = false;  // no need to look at the file again
  FileStamp stamp;
  bool settled = false;
  std::string bytes;
  ParsedProfile parsed;
};
Cache g_cache;
int g_snapshots = 0;
constexpr long long kSettleNs = 2'000'000'000LL;

const ParsedProfile* Load(const std::string& windows_path) {
  const std::string path = NativePath(windows_path);
  if (g_snapshots > 0 && g_cache.checked_in_snapshot && g_cache.path == path) {
    return &g_cache.parsed;
  }
  const std::optional<FileStamp> stamp = Stamp(path);
  if (!stamp) return nullptr;
  g_cache.checked_in_snapshot = false;
  if (g_cache.path == path && g_cache.stamp == *stamp && g_cache.settled) {
    g_cache.checked_in_snapshot = g_snapshots > 0;
    return &g_cache.parsed;
  }
  std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return nullptr;
  const bool settled = NowNs() - stamp->mtime_ns > kSettleNs;
  if (g_cache.path == path && g_cache.stamp == *stamp && g_cache.bytes == *bytes) {
    g_cache.settled = settled;
    g_cache.checked_in_snapshot = g_snapshots > 0;
    return &g_cache.parsed;
  }
  g_cache.parsed = ParseProfile(*bytes);
  g_cache.bytes = std::move(*bytes);
  g_cache.path = path;
  g_cache.stamp = *stamp;
  g_cache.settled = settled;
  g_cache.checked_in_snapshot = g_snapshots > 0;
  return &g_cache.parsed;
}

void Forget() {
  g_cache = Cache{};
}

std::string DefaultOf(const std::string& default_text) {
  // The default loses its trailing blanks.
  std::string_view d = default_text;
  while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
  return std::string(d);
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string bytes;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

void PortableProfileFile::BeginSnapshot() {
  ++g_snapshots;
}

void PortableProfileFile::EndSnapshot() {
  if (--g_snapshots == 0) g_cache.checked_in_snapshot = false;
}

std::vector<std::string> PortableProfileFile::KeyNames(const std::string& path,
                                                       const std::string& section) {
  const ParsedProfile* p = Load(path);
  if (p == nullptr) return {};
  const ProfileSection* s = p->FindSection(section, false);
  if (s == nullptr) return {};
  std::vector<std::string> names;
  for (KeyListEntry& entry : ListKeys(*s).entries) names.push_back(std::move(entry.name));
  return names;
}

std::string PortableProfileFile::ReadText(const std::string& path, const std::string& section,
                                          const std::string& key, const std::string& default_text) {
  const ParsedProfile* p = Load(path);
  if (p == nullptr) return DefaultOf(default_text).substr(0, kValueBufferSize - 1);
  const ProfileKey* k = p->FindKey(section, key);
  if (k != nullptr && k->value) return CopyProfileValue(*k->value, kValueBufferSize);
  return CopyProfileValue(DefaultOf(default_text), kValueBufferSize);
}

bool PortableProfileFile::WriteText(const std::string& path, const std::string& section,
                                    const std::string& key, const std::string& value) {
  std::string_view v = value;
  while (!v.empty() && IsProfileSpace(v.front())) v.remove_prefix(1);
  const std::string_view name = TrimProfileSpace(key);
  std::string new_line(name);
  new_line += '=';
  new_line += v;

  const ParsedProfile* loaded = Load(path);
  ParsedProfile p = loaded != nullptr ? *loaded : ParsedProfile{};
  std::vector<std::string>& lines = p.lines;
  // Whether the file ended with a line end (in UTF-16 its last unit's low
  // byte says so).
  const std::string& b = g_cache.bytes;
  const std::size_t bom = p.encoding == ProfileEncoding::kAnsi ? 0 : 2;
  const char last = p.encoding == ProfileEncoding::kUtf16Le && b.size() >= 2 ? b[b.size() - 2]
                    : b.empty()                                              ? '\n'
                                                                             : b.back();
  bool crlf_end = loaded == nullptr || b.size() <= bom || last == '\n' || last == '\r';

  if (const ProfileSection* s = p.FindSection(section)) {
    const auto found = s->first_key.find(FoldAsciiCase(name));
    if (found != s->first_key.end()) {
      const ProfileKey& k = s->keys[found->second];
      if (k.value && *k.value == v) return true;  // nothing to change
      // The key keeps the name as the file writes it.
      lines[k.line] = k.name + "=" + std::string(v);
    } else {
      // After the section's last key, or right after its header.
      const std::size_t after = s->keys.empty() ? s->header_line : s->keys.back().line;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), new_line);
      if (after + 1 == lines.size() - 1) crlf_end = true;
    }
  } else {
    std::string header = "[";
    header += TrimProfileSpace(section);
    header += ']';
    lines.push_back(std::move(header));
    lines.push_back(new_line);
    crlf_end = true;
  }

  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (i + 1 < lines.size() || crlf_end) text += "\r\n";
  }
  Forget();
  // A UTF-16 file stays UTF-16.
  return WriteAll(NativePath(path), EncodeProfileText(text, p.encoding));
}

}  // namespace rf::chardata
