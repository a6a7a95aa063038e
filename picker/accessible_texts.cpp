#include "picker/accessible_texts.h"

#include <cstdio>

#include "chardata/char_store.h"
#include "chardata/free_text_store.h"
#include "picker/Hover.h"

namespace rf::picker {

using chardata::TCharTableKind;

namespace {

std::string UPlus(std::int32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(number));
  return text;
}

const fw::ControlSpec* Row(std::span<const fw::ControlSpec> layout, std::string_view name) {
  for (const fw::ControlSpec& c : layout)
    if (c.name && name == c.name) return &c;
  return nullptr;
}

}  // namespace

std::string CutToChosenForm(std::string_view shown) {
  return std::string(shown.substr(0, kChosenFormCapacity));
}

std::string CellName(TCharTableKind kind, int cell) {
  const chardata::TEntryNotes& notes = chardata::TableEntryNotes(kind, cell);
  if (!notes.HasNumber) return std::string(kEmptyCellName);
  const std::string_view name = chardata::FreeTextName(notes.FreeText.View());
  // A name of blanks tells a listener as little as none.
  if (name.find_first_not_of(' ') == std::string_view::npos) return UPlus(notes.Number);
  return std::string(name);
}

std::string CellValue(TCharTableKind kind, int cell, int output_kind) {
  // Exactly what a hover at the cell's middle puts into the fields.
  const PictureParams& picture = PictureOf(kind);
  const CellBox box = CellBounds(picture, cell);
  const auto texts = HoverDisplay(kind, (box.left + box.right) / 2, (box.top + box.bottom) / 2);
  if (!texts) return "";
  // In radio item order, as the display fields are.
  const std::string* fields[] = {&texts->dec,   &texts->user1,  &texts->hex,
                                 &texts->user2, &texts->entity, &texts->user3};
  if (output_kind < 0 || output_kind >= static_cast<int>(std::size(fields))) return "";
  return CutToChosenForm(*fields[output_kind]);
}

std::string CellDescription(TCharTableKind kind, int cell) {
  const chardata::TEntryNotes& notes = chardata::TableEntryNotes(kind, cell);
  const std::string entity = chardata::TableEntry(kind, cell).EntityRef.Str();
  std::string text;
  if (notes.HasNumber)
    text = "Dezimal " + std::to_string(notes.Number) + ", " + UPlus(notes.Number);
  if (!entity.empty()) text += (text.empty() ? "" : ", ") + entity;
  return text;
}

std::optional<int> NeighbourCell(TCharTableKind kind, int cell, int columns, int rows) {
  const PictureParams& p = PictureOf(kind);
  const int column = cell / p.rows + columns, row = cell % p.rows + rows;
  if (column < 0 || row < 0 || row >= p.rows || column * p.rows >= chardata::TableEntryCount(kind))
    return std::nullopt;
  return column * p.rows + row;
}

std::string TableName(std::span<const fw::ControlSpec> layout, TCharTableKind kind) {
  const fw::ControlSpec* picture = Row(layout, PictureOf(kind).picture);
  const fw::ControlSpec* page = picture && picture->parent ? Row(layout, picture->parent) : nullptr;
  if (!page) return "";
  std::string name = page->caption ? page->caption : "";
  // An inner tab row's page: its tab control lies on a page of the outer row.
  const fw::ControlSpec* tabs = page->parent ? Row(layout, page->parent) : nullptr;
  const fw::ControlSpec* outer = tabs && tabs->parent ? Row(layout, tabs->parent) : nullptr;
  if (outer && outer->kind == fw::ControlKind::TabPage && outer->caption)
    name = outer->caption + name;
  return name;
}

}  // namespace rf::picker
