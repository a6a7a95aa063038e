#include "info/NxUrlRules.h"

namespace rf::info {
namespace {

// Only a to z fold: an 8-bit text in another code page keeps its other
// letters exactly as they are.
char FoldAsciiLetter(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) return false;
  return true;
}

}  // namespace

std::string UrlMessage(std::string_view pattern, std::string_view url) {
  std::string out(pattern);
  const auto at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, url);
  return out;
}

bool IsAcceptedURL(std::string_view url) {
  if (url.empty()) return true;
  for (std::string_view prefix : kUrlPrefixes)
    if (SameIgnoringAsciiCase(url.substr(0, prefix.size()), prefix)) return true;
  return false;
}

void CheckURL(std::string_view url) {
  if (!IsAcceptedURL(url)) throw ENxURLError(UrlMessage(kProtocolMessage, url));
}

}  // namespace rf::info
