// The screen cursor (one for all of the module's windows, like an
// hourglass during loading) and the table of custom cursors by number.
#pragma once

#include <windows.h>

namespace rf::fw {

enum class ScreenCursor { Default, HourGlass };

void SetScreenCursor(ScreenCursor cursor);
ScreenCursor GetScreenCursor();
// For WM_SETCURSOR: true when the screen cursor overrides the window's own.
bool ApplyScreenCursor();

// Shows the hourglass for a scope, and the default cursor again after it,
// also when the scope is left by an exception.
class HourGlassScope {
 public:
  HourGlassScope() { SetScreenCursor(ScreenCursor::HourGlass); }
  HourGlassScope(const HourGlassScope&) = delete;
  HourGlassScope& operator=(const HourGlassScope&) = delete;
  ~HourGlassScope() { SetScreenCursor(ScreenCursor::Default); }
};

// Custom cursors by number (controls name their cursor by number).
void RegisterCursor(int id, HCURSOR cursor);
HCURSOR CursorById(int id);  // nullptr when none is registered

}  // namespace rf::fw
