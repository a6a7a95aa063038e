#include "tools/tablepics/scaled_picture.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "tools/tablepics/cell_glyph.h"

namespace rf::tablepics {
namespace {

constexpr char32_t kDottedCircle = U'\u25CC';
constexpr char32_t kSoftHyphen = U'\u00AD';

// The glyph to draw for a cell: the soft hyphen as a short dash, as the
// 100 % pictures show it.
char32_t DrawnCharacter(char32_t cp) {
  return cp == kSoftHyphen ? U'-' : cp;
}

// Combining marks are drawn over the dotted circle, so they show alone.
bool IsCombining(char32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x064B && cp <= 0x0652) || cp == 0x0670 ||
         cp == 0x0E31 || (cp >= 0x0E34 && cp <= 0x0E3A) || (cp >= 0x0E47 && cp <= 0x0E4E);
}

struct Ink {
  int left, top, right, bottom;  // inclusive, in the glyph's own pixels
};

void Blend(IndexedPicture& pic, int x, int y, std::uint8_t coverage) {
  const int level = (coverage * kGreyLevels + 127) / 255;
  if (level == 0) return;
  const std::uint8_t now = pic.At(x, y);
  const int had = now == kBlack ? kGreyLevels : now == kSilver ? 0 : now - kFirstGrey + 1;
  pic.Put(x, y, GreyEntry(std::max(had, level)));
}

void DrawCell(IndexedPicture& pic, const TableInfo& table, int cell, const FontChain& fonts,
              const fw::Scale& scale) {
  const char32_t cp = DrawnCharacter(*table.cells[static_cast<std::size_t>(cell)].codepoint);
  const CellArea area = ScaledInkAreaOf(table, cell, scale);
  const int area_width = area.right - area.left + 1;
  const int area_height = area.bottom - area.top + 1;
  // The font's em as high as the 100 % pictures' 16-row glyph box, made
  // smaller until the ink fits the area.
  for (int size = scale.Edge(16); size >= 6; --size) {
    std::vector<GreyGlyph> parts;
    if (IsCombining(cp)) parts.push_back(fonts.Render(kDottedCircle, size));
    parts.push_back(fonts.Render(cp, size));
    // Ink of all parts around one pen position on the baseline.
    Ink ink{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (const GreyGlyph& g : parts)
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
          if (g.At(x, y) > 0) {
            ink.left = std::min(ink.left, g.left + x);
            ink.right = std::max(ink.right, g.left + x);
            ink.top = std::min(ink.top, y - g.top);
            ink.bottom = std::max(ink.bottom, y - g.top);
          }
    if (ink.right < ink.left) return;  // nothing to see (a space)
    const int ink_width = ink.right - ink.left + 1, ink_height = ink.bottom - ink.top + 1;
    if (ink_width > area_width || ink_height > area_height) continue;
    // Across: centred by its ink. Down: the font's box centred, so the
    // letters of a picture share a baseline, unless the ink would leave.
    int pen_x = area.left + (area_width - ink_width) / 2 - ink.left;
    int baseline = area.top + (area_height - size) / 2 + parts.back().ascender;
    if (baseline + ink.top < area.top || baseline + ink.bottom > area.bottom)
      baseline = area.top + (area_height - ink_height) / 2 - ink.top;
    const StrokeExtension ext = StrokeExtensionOf(cp);
    if (ext.up || ext.down) {
      // Pieces of a stacked sign: the stem centred, whatever the hook does,
      // so the stems of the three cells lie in one line.
      const GreyGlyph& g = parts.back();
      const int row = (ext.down ? ink.bottom - 1 : ink.top + 1) + g.top;
      long weight = 0, moment = 0;
      for (int x = 0; x < g.width; ++x) {
        weight += g.At(x, row);
        moment += static_cast<long>(g.At(x, row)) * (2 * (g.left + x) + 1);
      }
      if (weight > 0) pen_x = static_cast<int>(area.left + area_width / 2 - (moment / weight) / 2);
    }
    for (const GreyGlyph& g : parts)
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
          if (g.At(x, y) > 0) Blend(pic, pen_x + g.left + x, baseline - g.top + y, g.At(x, y));
    // The stem runs on to the area's edge, in the profile of its row one
    // pixel inside the glyph's cut end (the cut row itself may be partial).
    const GreyGlyph& g = parts.back();
    for (int x = 0; x < g.width; ++x) {
      if (ext.down) {
        const std::uint8_t c = g.At(x, ink.bottom - 1 + g.top);
        for (int y = baseline + ink.bottom - 1; y <= area.bottom && c > 0; ++y)
          Blend(pic, pen_x + g.left + x, y, c);
      }
      if (ext.up) {
        const std::uint8_t c = g.At(x, ink.top + 1 + g.top);
        for (int y = area.top; y <= baseline + ink.top + 1 && c > 0; ++y)
          Blend(pic, pen_x + g.left + x, y, c);
      }
    }
    return;
  }
  throw std::runtime_error("glyph too large for cell " + std::to_string(cell) + " of " +
                           table.section);
}

}  // namespace

std::uint8_t GreyEntry(int level) {
  if (level <= 0) return kSilver;
  if (level >= kGreyLevels) return kBlack;
  return static_cast<std::uint8_t>(kFirstGrey + level - 1);
}

std::array<Rgb, 256> ScaledPalette() {
  auto palette = TablePalette();
  for (int level = 1; level < kGreyLevels; ++level) {
    // Silver (192) down to black in even steps.
    const auto v = static_cast<std::uint8_t>(192 - 192 * level / kGreyLevels);
    palette[GreyEntry(level)] = {v, v, v};
  }
  return palette;
}

CellArea ScaledInkAreaOf(const TableInfo& table, int cell, const fw::Scale& scale) {
  const CellArea a = InkAreaOf(table, cell);
  return {scale.Edge(a.left), scale.Edge(a.top), scale.Edge(a.right + 1) - 1,
          scale.Edge(a.bottom + 1) - 1};
}

IndexedPicture DrawScaledTablePicture(const TableInfo& table, const FontChain& fonts,
                                      const fw::Scale& scale) {
  IndexedPicture pic;
  pic.width = scale.Edge(table.Width());
  pic.height = scale.Edge(table.Height());
  pic.pixels.assign(static_cast<std::size_t>(pic.width * pic.height), kSilver);
  // Each 96-DPI grid line covers the device pixels its edges give.
  for (int x = 0; x < table.Width(); x += kCellWidth)
    for (int dx = scale.Edge(x); dx < scale.Edge(x + 1); ++dx)
      for (int y = 0; y < pic.height; ++y) pic.Put(dx, y, kBlack);
  for (int y = 0; y < table.Height(); y += table.cell_height)
    for (int dy = scale.Edge(y); dy < scale.Edge(y + 1); ++dy)
      for (int x = 0; x < pic.width; ++x) pic.Put(x, dy, kBlack);
  for (int i = 0; i < static_cast<int>(table.cells.size()); ++i)
    if (table.cells[static_cast<std::size_t>(i)].drawn) DrawCell(pic, table, i, fonts, scale);
  return pic;
}

}  // namespace rf::tablepics
