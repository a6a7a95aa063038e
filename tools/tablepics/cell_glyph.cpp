#include "tools/tablepics/cell_glyph.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>

namespace rf::tablepics {
namespace {

constexpr char32_t kSoftHyphen = 0x00AD;
constexpr char32_t kHyphenMinus = 0x002D;
constexpr char32_t kDottedCircle = 0x25CC;

std::string CodeText(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

Bitmap RequireGlyph(const Unifont& font, char32_t cp) {
  auto glyph = font.Glyph(cp);
  if (!glyph) throw std::runtime_error("the font has no glyph for " + CodeText(cp));
  return *glyph;
}

// Both centred on the wider of the two.
Bitmap Overlay(const Bitmap& a, const Bitmap& b) {
  const int width = std::max(a.Width(), b.Width());
  Bitmap out(width, Unifont::kGlyphHeight);
  for (const Bitmap* g : {&a, &b}) {
    const int dx = (width - g->Width()) / 2;
    for (int y = 0; y < g->Height() && y < out.Height(); ++y)
      for (int x = 0; x < g->Width(); ++x)
        if (g->Get(x, y)) out.Set(x + dx, y);
  }
  return out;
}

int ColumnDifference(const Bitmap& g, int a, int b) {
  int diff = 0;
  for (int y = 0; y < g.Height(); ++y) diff += g.Get(a, y) != g.Get(b, y);
  return diff;
}

Bitmap WithoutColumn(const Bitmap& g, int column, int merge_into) {
  Bitmap out(g.Width() - 1, g.Height());
  for (int y = 0; y < g.Height(); ++y) {
    for (int x = 0, to = 0; x < g.Width(); ++x) {
      if (x == column) continue;
      const bool on = g.Get(x, y) || (x == merge_into && g.Get(column, y));
      if (on) out.Set(to, y);
      ++to;
    }
  }
  return out;
}

}  // namespace

Bitmap NarrowInk(const Bitmap& glyph, int max_width) {
  Bitmap g = glyph;
  for (;;) {
    const InkBox ink = InkBoxOf(g);
    if (ink.right < 0 || ink.Width() <= max_width) return g;
    // Among the columns inside the ink, drop the one closest to a neighbour;
    // ties go to the one nearest the middle, which keeps the outline's ends.
    const int middle2 = ink.left + ink.right;  // twice the middle column
    int best = -1;
    int best_into = -1;
    int best_diff = std::numeric_limits<int>::max();
    int best_dist = 0;
    for (int x = ink.left + 1; x <= ink.right; ++x) {
      const int diff = ColumnDifference(g, x, x - 1);
      const int dist = std::abs(2 * x - 1 - middle2);
      if (diff < best_diff || (diff == best_diff && dist < best_dist)) {
        best = x;
        best_into = x - 1;
        best_diff = diff;
        best_dist = dist;
      }
    }
    g = WithoutColumn(g, best, best_into);
  }
}

Bitmap CellGlyph(const Unifont& font, char32_t cp) {
  if (cp == kSoftHyphen) cp = kHyphenMinus;  // the font shows the soft hyphen as a code box
  Bitmap glyph = RequireGlyph(font, cp);
  if (font.IsCombining(cp)) glyph = Overlay(RequireGlyph(font, kDottedCircle), glyph);
  glyph = NarrowInk(glyph, kMaxInkWidth);
  if (glyph.Empty()) throw std::runtime_error("the font's glyph for " + CodeText(cp) + " is blank");
  return glyph;
}

StrokeExtension StrokeExtensionOf(char32_t cp) {
  switch (cp) {
    case 0x2320:  // top half integral
      return {false, true};
    case 0x2321:  // bottom half integral
      return {true, false};
    case 0x23AE:  // integral extension
      return {true, true};
    default:
      return {};
  }
}

}  // namespace rf::tablepics
