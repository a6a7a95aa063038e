// Glyphs of GNU Unifont from its .hex form: one line per character,
// "XXXX:" then 32 hex digits (8 x 16 pixels) or 64 (16 x 16), rows top down,
// the leftmost pixel in the highest bit.
#pragma once

#include <istream>
#include <map>
#include <optional>
#include <set>

#include "tools/tablepics/bitmap.h"

namespace rf::tablepics {

class Unifont {
 public:
  static constexpr int kGlyphHeight = 16;

  // Throws std::runtime_error naming the line on a malformed line.
  static Unifont Read(std::istream& hex);

  // Adds the combining characters from Unifont's combining list (one
  // "XXXX:offset" per line); their glyphs hold only the mark.
  void ReadCombining(std::istream& list);

  std::optional<Bitmap> Glyph(char32_t cp) const;
  bool IsCombining(char32_t cp) const { return combining_.contains(cp); }
  std::size_t Size() const { return glyphs_.size(); }

 private:
  std::map<char32_t, Bitmap> glyphs_;
  std::set<char32_t> combining_;
};

}  // namespace rf::tablepics
