#include "picker/table_cursor.h"

#include <algorithm>

#include "chardata/char_store.h"

namespace rf::picker {

using chardata::TCharTableKind;

int CellCount(const PictureParams& picture) {
  return (picture.width - 1) / kCellWidth * picture.rows;
}

int MoveCell(const PictureParams& picture, int cell, CursorKey key) {
  const int rows = picture.rows;
  const int columns = CellCount(picture) / rows;
  int column = cell / rows, row = cell % rows;
  switch (key) {
    case CursorKey::kLeft:
      column = std::max(column - 1, 0);
      break;
    case CursorKey::kRight:
      column = std::min(column + 1, columns - 1);
      break;
    case CursorKey::kUp:
      row = std::max(row - 1, 0);
      break;
    case CursorKey::kDown:
      row = std::min(row + 1, rows - 1);
      break;
    case CursorKey::kRowStart:
      column = 0;
      break;
    case CursorKey::kRowEnd:
      column = columns - 1;
      break;
    case CursorKey::kTableStart:
      return 0;
    case CursorKey::kTableEnd:
      return CellCount(picture) - 1;
  }
  return row + column * rows;
}

CellPoint CellCentre(const PictureParams& picture, int cell) {
  const CellBox box = CellBounds(picture, cell);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

int FirstCellWithNumber(TCharTableKind kind) {
  const int count = chardata::TableEntryCount(kind);
  for (int i = 0; i < count; ++i)
    if (!chardata::TableEntry(kind, i).DecRef.Empty()) return i;
  return 0;
}

int TableCursors::Enter(TCharTableKind kind) {
  auto& cursor = cursor_[kind];
  if (!cursor) cursor = hovered_[kind] ? *hovered_[kind] : FirstCellWithNumber(kind);
  return *cursor;
}

void TableCursors::Hovered(TCharTableKind kind, int cell) {
  hovered_[kind] = cell;
}

bool TableCursors::Move(TCharTableKind kind, CursorKey key) {
  const int from = Enter(kind);
  const int to = MoveCell(PictureOf(kind), from, key);
  cursor_[kind] = to;
  return to != from;
}

std::optional<int> TableCursors::Cell(TCharTableKind kind) const {
  return cursor_[kind];
}

}  // namespace rf::picker
