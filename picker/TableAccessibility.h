// What the picker tells a screen reader: each table picture is a table
// whose cells have a name, a value and a description, and each of the
// eight edits carries the caption of its label as its name.
#pragma once

#include <functional>
#include <optional>

#include "chardata/char_table_kind.h"
#include "framework/form.h"

namespace rf::picker {

struct AccessibilityHooks {
  // The radio index of the output kind chosen now.
  std::function<int()> output_kind;
  // The keyboard cursor's cell while that table's picture has the focus.
  std::function<std::optional<int>(chardata::TCharTableKind)> focused_cell;
};

// Gives the dialog's pictures and edits their accessible sources; nothing
// is loaded or made for them before a client asks.
void MakeAccessible(fw::Form& dialog, const AccessibilityHooks& hooks);

}  // namespace rf::picker
