#include "framework/cursor.h"

#include <map>

namespace rf::fw {
namespace {

ScreenCursor g_screen_cursor = ScreenCursor::Default;

std::map<int, HCURSOR>& CursorTable() {
  static std::map<int, HCURSOR> table;
  return table;
}

}  // namespace

void SetScreenCursor(ScreenCursor cursor) {
  g_screen_cursor = cursor;
  if (cursor == ScreenCursor::HourGlass) {
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
  } else {
    // Let the window under the pointer choose its cursor again.
    POINT p;
    if (GetCursorPos(&p)) SetCursorPos(p.x, p.y);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
  }
}

bool ApplyScreenCursor() {
  if (g_screen_cursor != ScreenCursor::HourGlass) return false;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  return true;
}

void RegisterCursor(int id, HCURSOR cursor) {
  CursorTable()[id] = cursor;
}

HCURSOR CursorById(int id) {
  const auto it = CursorTable().find(id);
  return it == CursorTable().end() ? nullptr : it->second;
}

}  // namespace rf::fw
