// The screen cursor (one for all of the module's windows, like an
// hourglass during loading) and the table of custom cursors by number.
#pragma once

#include <windows.h>

namespace rf::fw {

enum class ScreenCursor { Default, HourGlass };

void SetScreenCursor(ScreenCursor cursor);
// For WM_SETCURSOR: true when the screen cursor overrides the window's own.
bool ApplyScreenCursor();

// Custom cursors by number (controls name their cursor by number).
void RegisterCursor(int id, HCURSOR cursor);
HCURSOR CursorById(int id);  // nullptr when none is registered

}  // namespace rf::fw
