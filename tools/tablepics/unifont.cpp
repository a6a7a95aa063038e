#include "tools/tablepics/unifont.h"

#include <charconv>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rf::tablepics {
namespace {

[[noreturn]] void Fail(int line_no, const std::string& line) {
  throw std::runtime_error("bad font line " + std::to_string(line_no) + ": " + line.substr(0, 80));
}

std::optional<unsigned> Hex(std::string_view text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

Unifont Unifont::Read(std::istream& hex) {
  Unifont font;
  std::string line;
  for (int line_no = 1; std::getline(hex, line); ++line_no) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const auto colon = line.find(':');
    if (colon == std::string::npos) Fail(line_no, line);
    const auto cp = Hex(std::string_view(line).substr(0, colon));
    const std::string_view digits = std::string_view(line).substr(colon + 1);
    if (!cp || *cp > 0x10FFFF || (digits.size() != 32 && digits.size() != 64)) Fail(line_no, line);
    const int width = static_cast<int>(digits.size()) / 4;  // 4 hex digits per 16 pixels
    const int per_row = width / 4;
    Bitmap glyph(width, kGlyphHeight);
    for (int y = 0; y < kGlyphHeight; ++y) {
      const auto row = Hex(digits.substr(static_cast<std::size_t>(y * per_row), per_row));
      if (!row) Fail(line_no, line);
      for (int x = 0; x < width; ++x)
        if ((*row >> (width - 1 - x)) & 1u) glyph.Set(x, y);
    }
    font.glyphs_.insert_or_assign(static_cast<char32_t>(*cp), std::move(glyph));
  }
  return font;
}

void Unifont::ReadCombining(std::istream& list) {
  std::string line;
  while (std::getline(list, line)) {
    const auto cp = Hex(std::string_view(line).substr(0, line.find(':')));
    if (cp) combining_.insert(static_cast<char32_t>(*cp));
  }
}

std::optional<Bitmap> Unifont::Glyph(char32_t cp) const {
  const auto it = glyphs_.find(cp);
  if (it == glyphs_.end()) return std::nullopt;
  return it->second;
}

}  // namespace rf::tablepics
