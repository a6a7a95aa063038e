#include "picker/search_query.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

#include "chardata/char_store.h"
#include "chardata/cp1252.h"
#include "chardata/free_text_store.h"

namespace rf::picker {

using namespace chardata;

namespace {

constexpr std::array<std::string_view, kCharTableKindCount> kCaptions = {
    "ANSI",        "ISO 8859-1",  "ISO 8859-2",  "ISO 8859-3",  "ISO 8859-4",
    "ISO 8859-5",  "ISO 8859-6",  "ISO 8859-7",  "ISO 8859-8",  "ISO 8859-9",
    "ISO 8859-10", "ISO 8859-11", "ISO 8859-13", "ISO 8859-14", "ISO 8859-15",
    "ISO 8859-16", "CP 437",      "CP 850",      "Technik",     "Grafik"};

// Beyond Unicode's last code point a number finds nothing; parsing stops
// there so that a pasted run of digits cannot overflow.
constexpr std::int64_t kLastCodePoint = 0x10FFFF;

// Each distinct query word must begin a word of the free text, so there
// can be no more of them than the text has characters: a pasted page of
// words is refused at once instead of tried against every entry.
constexpr std::size_t kMaxQueryWords = kFreeTextCapacity;

// What each code page 1252 byte folds to; "" is a separator.
constexpr std::array<std::string_view, 256> MakeFoldTable() {
  std::array<std::string_view, 256> t{};
  constexpr std::string_view lower = "abcdefghijklmnopqrstuvwxyz";
  constexpr std::string_view digits = "0123456789";
  for (int i = 0; i < 26; ++i) {
    t['A' + i] = lower.substr(static_cast<std::size_t>(i), 1);
    t['a' + i] = lower.substr(static_cast<std::size_t>(i), 1);
  }
  for (int i = 0; i < 10; ++i) t['0' + i] = digits.substr(static_cast<std::size_t>(i), 1);
  // The upper half: Latin letters of 1252, both cases from 0xC0 on.
  constexpr std::string_view upper_half[32] = {
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",
      "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss"};
  for (int i = 0; i < 32; ++i) {
    t[0xC0 + i] = upper_half[i];
    t[0xE0 + i] = upper_half[i];
  }
  t[0xF7] = "";  // division sign
  t[0xFF] = "y";
  t[0x83] = "f";
  t[0x8A] = t[0x9A] = "s";
  t[0x8C] = t[0x9C] = "oe";
  t[0x8E] = t[0x9E] = "z";
  t[0x9F] = "y";
  return t;
}
constexpr std::array<std::string_view, 256> kFold = MakeFoldTable();

// Into a buffer the caller keeps, so a keystroke's 2016 entries allocate
// nothing after the first.
void FoldInto(std::string_view text, std::string& out) {
  out.clear();
  for (char c : text) {
    const std::string_view f = kFold[static_cast<unsigned char>(c)];
    if (f.empty())
      out += ' ';
    else
      out += f;
  }
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool StartsWithFolded(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char a = s[i], b = prefix[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// The digits of a number, or nothing when they are not all digits of the
// base or the value lies beyond Unicode.
std::optional<std::int32_t> ParseDigits(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && IsHex(c))
      d = (c | 0x20) - 'a' + 10;
    else
      return std::nullopt;
    value = value * base + d;
    if (value > kLastCodePoint) return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// "174", "&#174;", "#174", "&#xAE;", "#xAE", "xAE", "0xAE", "U+00AE".
std::optional<std::int32_t> ParseNumber(std::string_view q) {
  if (q.starts_with('&')) {
    q.remove_prefix(1);
    if (!q.starts_with('#')) return std::nullopt;
  }
  if (q.ends_with(';')) {
    if (!q.starts_with('#')) return std::nullopt;
    q.remove_suffix(1);
  }
  if (q.starts_with('#')) q.remove_prefix(1);
  if (StartsWithFolded(q, "u+") || StartsWithFolded(q, "0x")) return ParseDigits(q.substr(2), 16);
  if (StartsWithFolded(q, "x")) return ParseDigits(q.substr(1), 16);
  return ParseDigits(q, 10);
}

// "reg", "&reg;", "&reg", "reg;": the name without its delimiters.
std::string_view EntityQuery(std::string_view q) {
  if (q.starts_with('&')) q.remove_prefix(1);
  if (q.ends_with(';')) q.remove_suffix(1);
  for (char c : q)
    if (!((c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'))) return {};
  return q;
}

// The entity name an entry's reference gives, without "&" and ";".
std::string_view EntityNameOf(const TCharEntry& e) {
  std::string_view ref = e.EntityRef.View();
  if (ref.starts_with('&')) ref.remove_prefix(1);
  if (ref.ends_with(';')) ref.remove_suffix(1);
  return ref;
}

std::vector<std::string> QueryWords(std::string_view q) {
  const std::string folded = FoldForSearch(q);
  std::vector<std::string> words;
  for (std::size_t i = 0; i < folded.size();) {
    const std::size_t end = std::min(folded.find(' ', i), folded.size());
    if (end > i) words.emplace_back(folded.substr(i, end - i));
    i = end + 1;
  }
  // Longer words fail sooner; a repeated word adds nothing.
  std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() > b.size() : a < b;
  });
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

// Every query word begins some word of the folded text.
bool WordsMatch(std::string_view folded, const std::vector<std::string>& words) {
  for (const std::string& w : words) {
    bool found = false;
    for (std::size_t at = folded.find(w); at != std::string_view::npos;
         at = folded.find(w, at + 1)) {
      if (at == 0 || folded[at - 1] == ' ') {
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
  std::string out;
  FoldInto(text, out);
  return out;
}

std::vector<SearchRow> FindCharacters(std::string_view query, TCharTableKind shown) {
  const std::string_view q = Trim(query);
  std::vector<SearchRow> rows;
  if (q.empty()) return rows;

  const std::optional<std::int32_t> number = ParseNumber(q);
  const std::string_view entity = EntityQuery(q);
  // One character that is no ASCII letter or digit stands for itself.
  std::optional<std::int32_t> itself;
  const auto first = static_cast<unsigned char>(q[0]);
  if (q.size() == 1 && (first >= 0x80 || kFold[first].empty()))
    itself = static_cast<std::int32_t>(Cp1252ToUnicode(first));
  // A reference written out ("&reg;", "&#174", "U+00AE") means that one
  // character, not words of names.
  const bool reference = q.starts_with('&') || q.starts_with('#') || q.ends_with(';') ||
                         StartsWithFolded(q, "u+") || StartsWithFolded(q, "0x");
  const std::vector<std::string> words = reference ? std::vector<std::string>{} : QueryWords(q);
  const bool words_can_match = !words.empty() && words.size() <= kMaxQueryWords;

  // Row of each character found so far, by its number.
  std::unordered_map<std::int32_t, std::size_t> by_number;
  std::string folded;
  for (TCharTableKind kind : kAllCharTableKinds) {
    for (int i = 0; i < TableEntryCount(kind); ++i) {
      const TCharEntry& e = TableEntry(kind, i);
      const TEntryNotes& n = TableEntryNotes(kind, i);
      std::optional<MatchRank> rank;
      if (n.HasNumber && ((number && *number == n.Number) || (itself && *itself == n.Number)))
        rank = MatchRank::kExact;
      const std::string_view name = EntityNameOf(e);
      if (!rank && !entity.empty() && !name.empty()) {
        if (name == entity)
          rank = MatchRank::kExact;
        else if (name.size() == entity.size() && StartsWithFolded(name, entity))
          rank = MatchRank::kEntityFolded;
      }
      if (!rank && words_can_match && !n.FreeText.Empty()) {
        FoldInto(n.FreeText.View(), folded);
        if (WordsMatch(folded, words)) rank = MatchRank::kWords;
      }
      if (!rank) continue;
      const SearchRow row{kind, i, *rank};
      if (!n.HasNumber) {
        rows.push_back(row);
        continue;
      }
      const auto [it, added] = by_number.try_emplace(n.Number, rows.size());
      if (added) {
        rows.push_back(row);
        continue;
      }
      SearchRow& kept = rows[it->second];
      kept.rank = std::min(kept.rank, row.rank);
      // The table on show wins; otherwise the first table keeps the row.
      if (kind == shown && kept.kind != shown) {
        kept.kind = kind;
        kept.index = i;
      }
    }
  }
  std::stable_sort(rows.begin(), rows.end(), [](const SearchRow& a, const SearchRow& b) {
    if (a.rank != b.rank) return a.rank < b.rank;
    if (a.kind != b.kind) return a.kind < b.kind;
    return a.index < b.index;
  });
  return rows;
}

std::string_view TableCaption(TCharTableKind kind) {
  return kCaptions[kind];
}

std::string RowName(const SearchRow& row) {
  return std::string(FreeTextName(TableEntryNotes(row.kind, row.index).FreeText.View()));
}

std::string RowEntity(const SearchRow& row) {
  return TableEntry(row.kind, row.index).EntityRef.Str();
}

std::string RowWhere(const SearchRow& row) {
  return std::string(TableCaption(row.kind)) + ", Zelle " + std::to_string(row.index);
}

}  // namespace rf::picker
