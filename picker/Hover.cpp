#include "picker/Hover.h"

#include <array>

#include "chardata/char_store.h"
#include "chardata/text_utils.h"

namespace rf::picker {

using namespace chardata;

namespace {

constexpr std::array<PictureParams, kCharTableKindCount> kPictures = {{
    {"IANSI", 289, 193, 24, 8, ctANSI},
    {"IISO8859_1", 289, 163, 27, 6, ctISO8859_1},
    {"IISO8859_2", 289, 163, 27, 6, ctISO8859_2},
    {"IISO8859_3", 289, 163, 27, 6, ctISO8859_3},
    {"IISO8859_4", 289, 163, 27, 6, ctISO8859_4},
    {"IISO8859_5", 289, 163, 27, 6, ctISO8859_5},
    {"IISO8859_6", 289, 163, 27, 6, ctISO8859_6},
    {"IISO8859_7", 289, 163, 27, 6, ctISO8859_7},
    {"IISO8859_8", 289, 163, 27, 6, ctISO8859_8},
    {"IISO8859_9", 289, 163, 27, 6, ctISO8859_9},
    {"IISO8859_10", 289, 163, 27, 6, ctISO8859_10},
    {"IISO8859_11", 289, 163, 27, 6, ctISO8859_11},
    {"IISO8859_13", 289, 163, 27, 6, ctISO8859_13},
    {"IISO8859_14", 289, 163, 27, 6, ctISO8859_14},
    {"IISO8859_15", 289, 163, 27, 6, ctISO8859_15},
    {"IISO8859_16", 289, 163, 27, 6, ctISO8859_16},
    {"ICP734", 361, 193, 24, 8, ctCP437},
    {"ICP850", 361, 193, 24, 8, ctCP850},
    {"ITechnik", 91, 193, 24, 8, ctTechnik},
    {"IGrafik", 199, 193, 24, 8, ctGrafik},
}};

constexpr bool PicturesFitTheirTables() {
  for (std::size_t i = 0; i < kPictures.size(); ++i) {
    const PictureParams& p = kPictures[i];
    if (p.kind != static_cast<TCharTableKind>(i)) return false;
    if ((p.width - 1) % kCellWidth != 0 || p.height != p.cell_height * p.rows + 1) return false;
  }
  return true;
}
static_assert(PicturesFitTheirTables());

// The user form if it has one, else its template filled with the value.
std::string UserForm(const FixedText<30>& form, const TemplateText& tmpl, std::string_view value) {
  if (!form.Empty() || tmpl.Empty()) return form.Str();
  return ExpandTemplate(tmpl.View(), value);
}

}  // namespace

const PictureParams& PictureOf(TCharTableKind kind) {
  return kPictures[kind];
}

std::optional<int> CellIndexAt(const PictureParams& picture, int x, int y) {
  // The outer frame line and, on the left and at the top, the pixel next
  // to it lie outside.
  if (x < 2 || y < 2 || x > picture.width - 2 || y > picture.height - 2) return std::nullopt;
  const int column = x / kCellWidth;
  const int row = y / picture.cell_height;
  return row + column * picture.rows;
}

CellBox CellBounds(const PictureParams& picture, int cell) {
  const int column = cell / picture.rows, row = cell % picture.rows;
  return {column * kCellWidth, row * picture.cell_height, (column + 1) * kCellWidth,
          (row + 1) * picture.cell_height};
}

std::optional<HoverTexts> HoverDisplay(TCharTableKind kind, int x, int y) {
  const std::optional<int> index = CellIndexAt(PictureOf(kind), x, y);
  if (!index) return std::nullopt;
  const TCharEntry& e = TableEntry(kind, *index);
  HoverTexts t;
  t.number = std::to_string(*index);
  t.dec = e.DecRef.Str();
  t.hex = e.HexRef.Str();
  t.entity = e.EntityRef.Str();
  t.user1 = UserForm(e.User1, DefaultTemplate1, e.DecDigits.View());
  t.user2 = UserForm(e.User2, DefaultTemplate2, e.HexDigits.View());
  t.user3 = UserForm(e.User3, DefaultTemplate3, e.EntityName.View());
  return t;
}

}  // namespace rf::picker
