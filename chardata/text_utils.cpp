#include "chardata/text_utils.h"

#include <cstdint>
#include <limits>
#include <new>

namespace rf::chardata {
namespace {

constexpr char kSectionSign = '\xA7';

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Value of the pair at 1-based position pos; characters past the end of
// the text are simply not there, so a missing pair reads as 0.
int PairValue(std::string_view text, std::size_t pos) {
  std::string pair = "$";
  if (pos - 1 < text.size()) pair += text.substr(pos - 1, 2);
  return TextToNumber(pair);
}

}  // namespace

void SplitText(std::string_view text, std::string_view separator, std::vector<std::string>& list) {
  list.clear();
  try {
    if (!separator.empty()) {
      for (std::size_t at = text.find(separator); at != std::string_view::npos;
           at = text.find(separator)) {
        list.emplace_back(text.substr(0, at));
        text.remove_prefix(at + separator.size());
      }
    }
    list.emplace_back(text);
  } catch (const std::bad_alloc&) {
    // The list keeps the items appended so far.
  }
}

std::string ExtractField(std::string_view text, std::string_view separator, std::int32_t n) {
  std::vector<std::string> items;
  SplitText(text, separator, items);
  if (n < 1 || static_cast<std::size_t>(n) > items.size()) return {};
  return std::move(items[static_cast<std::size_t>(n) - 1]);
}

bool HasSeparatorCount(std::string_view text, std::string_view separator, std::int32_t count) {
  std::int64_t found = 0;
  if (separator.size() == 1) {
    for (char c : text) found += c == separator[0] ? 1 : 0;
  }
  return found == count;
}

std::int32_t TextToNumber(std::string_view text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int base = 10;
  bool negative = false;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate in 64 bits and stop growing once past the 32-bit range: an
  // overlong number saturates instead of wrapping.
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = HexDigitValue(text[i]);
    if (d < 0 || d >= base) break;
    if (value <= kMax + 1) value = value * base + d;
  }
  if (negative) value = -value;
  if (value > kMax) return static_cast<std::int32_t>(kMax);
  if (value < kMin) return static_cast<std::int32_t>(kMin);
  return static_cast<std::int32_t>(value);
}

std::string ExpandTemplate(std::string_view template_text, std::string_view value) {
  std::string result(template_text);
  const std::size_t at = result.find(kSectionSign);
  if (at == std::string::npos) {
    result.insert(0, value);
  } else {
    result.replace(at, 1, value);
  }
  return result;
}

std::string DecodeHexText(std::string_view hex_text, std::string_view key) {
  std::string result;
  if (key.empty()) return result;
  int offset = PairValue(hex_text, 1);
  std::size_t key_pos = 0;
  std::size_t pos = 3;
  do {
    const int cur = PairValue(hex_text, pos);
    key_pos = key_pos < key.size() ? key_pos + 1 : 1;
    const int t = cur ^ static_cast<unsigned char>(key[key_pos - 1]);
    const int code = t > offset ? t - offset : t + 255 - offset;
    result += static_cast<char>(static_cast<unsigned char>(code));
    offset = cur;
    pos += 2;
  } while (pos < hex_text.size());
  return result;
}

}  // namespace rf::chardata
