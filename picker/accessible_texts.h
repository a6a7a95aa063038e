// What a screen reader is told about the tables: a cell's name, value and
// description, and a table's name. Portable (rf_picker_portable), so it is
// tested natively; the accessible objects only hand these texts on.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "chardata/char_table_kind.h"
#include "framework/layout.h"

namespace rf::picker {

// What a click or Space appends is the chosen display field cut to this.
inline constexpr std::size_t kChosenFormCapacity = 30;
std::string CutToChosenForm(std::string_view shown);

// The name of a cell whose entry has no number.
inline constexpr std::string_view kEmptyCellName = "leer";

// The character's name as the preview shows it (the free text's first
// part); "leer" for an entry without a number; its "U+" number where the
// data file gives no name.
std::string CellName(chardata::TCharTableKind kind, int cell);
// What a click would append with the output kind chosen (a radio index):
// the display field a hover at the cell shows, templates included, cut as
// the append cuts it. Empty for an index outside the six kinds.
std::string CellValue(chardata::TCharTableKind kind, int cell, int output_kind);
// "Dezimal 8364, U+20AC, &euro;": the parts the entry has, in this order;
// an entry without a number has no numbers to tell, only its entity.
std::string CellDescription(chardata::TCharTableKind kind, int cell);

// The cell a step of whole cells away on the grid (columns to the right,
// rows down), or nothing beyond the table's edges.
std::optional<int> NeighbourCell(chardata::TCharTableKind kind, int cell, int columns, int rows);

// The caption of the table's tab, and on an inner tab the outer one's
// before it ("ISO 8859-5"), read from the dialog's layout.
std::string TableName(std::span<const fw::ControlSpec> layout, chardata::TCharTableKind kind);

}  // namespace rf::picker
