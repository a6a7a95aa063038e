// The tables' keyboard cursor in the dialog: a table picture reached by
// Tab shows its cursor's cell in the display fields as a hover at the
// cell's middle does, the arrows, Home and End move it, Space picks the
// cell as a click does but keeps the focus in the table. Screen readers
// hear of every move (EVENT_OBJECT_FOCUS with the cell's child id).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "chardata/char_table_kind.h"
#include "framework/controls.h"
#include "picker/table_cursor.h"

namespace rf::picker {

class TableKeyboard {
 public:
  // What the keyboard does in the dialog.
  struct Dialog {
    std::function<fw::PictureControl&(chardata::TCharTableKind)> picture;
    // The fields as a hover at a point of the picture shows them.
    std::function<void(chardata::TCharTableKind, int x, int y)> show;
    // The chosen form appended as a click appends it, the focus left alone.
    std::function<void()> append;
  };
  explicit TableKeyboard(Dialog dialog);

  // Binds the picture's keys and focus; its mouse handlers stay the
  // dialog's.
  void Bind(chardata::TCharTableKind kind);
  // A hover on a cell: where the cursor starts if the table never had the
  // focus.
  void Hovered(chardata::TCharTableKind kind, int x, int y);
  // The cursor's cell while the table's picture has the keyboard focus.
  std::optional<int> FocusedCell(chardata::TCharTableKind kind) const;

 private:
  void FocusChanged(chardata::TCharTableKind kind, bool focused);
  void Key(chardata::TCharTableKind kind, WPARAM key);
  // The fields and the focus rectangle on the cursor's cell.
  void ShowCursor(chardata::TCharTableKind kind);
  void Announce(chardata::TCharTableKind kind) const;

  Dialog dialog_;
  TableCursors cursors_;
};

}  // namespace rf::picker
