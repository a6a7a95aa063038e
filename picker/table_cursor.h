// The keyboard cursor of the table pictures: where each key moves it over
// a picture's grid, and which cell it takes when a table gets the focus.
// Portable (rf_picker_portable), so the moves are tested natively.
#pragma once

#include <array>
#include <optional>

#include "chardata/char_table_kind.h"
#include "picker/Hover.h"

namespace rf::picker {

enum class CursorKey {
  kLeft,
  kRight,
  kUp,
  kDown,
  kRowStart,    // Home
  kRowEnd,      // End
  kTableStart,  // Ctrl+Home
  kTableEnd,    // Ctrl+End
};

int CellCount(const PictureParams& picture);

// The cell a key leads to from `cell`, by the cells' places on screen:
// cells run down each column, so Up and Down change the row, Left and
// Right the column. At an edge the cursor stays where it is.
int MoveCell(const PictureParams& picture, int cell, CursorKey key);

// The middle of a cell in picture pixels: what a hover there shows is
// what the cursor shows.
struct CellPoint {
  int x, y;
};
CellPoint CellCentre(const PictureParams& picture, int cell);

// The first cell whose entry has a number (an empty cell has none), else
// cell 0.
int FirstCellWithNumber(chardata::TCharTableKind kind);

// The cursor of each of the twenty tables, and the cell a hover showed
// last in each: both decide where the cursor lies when a table gets the
// focus.
class TableCursors {
 public:
  // The cursor's cell on taking the focus: where it was when the table
  // last had the focus, else the last hovered cell, else the first cell
  // with a number. The cell is kept as the table's cursor.
  int Enter(chardata::TCharTableKind kind);
  // A hover landed on a cell (not on the frame).
  void Hovered(chardata::TCharTableKind kind, int cell);
  // Moves the cursor by a key; true when it moved.
  bool Move(chardata::TCharTableKind kind, CursorKey key);
  // Nothing before the table first had the focus.
  std::optional<int> Cell(chardata::TCharTableKind kind) const;

 private:
  std::array<std::optional<int>, chardata::kCharTableKindCount> cursor_{};
  std::array<std::optional<int>, chardata::kCharTableKindCount> hovered_{};
};

}  // namespace rf::picker
