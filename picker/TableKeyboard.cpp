#include "picker/TableKeyboard.h"

#include <utility>

namespace rf::picker {

using chardata::TCharTableKind;

namespace {

std::optional<CursorKey> CursorKeyOf(WPARAM key) {
  const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
  switch (key) {
    case VK_LEFT:
      return CursorKey::kLeft;
    case VK_RIGHT:
      return CursorKey::kRight;
    case VK_UP:
      return CursorKey::kUp;
    case VK_DOWN:
      return CursorKey::kDown;
    case VK_HOME:
      return ctrl ? CursorKey::kTableStart : CursorKey::kRowStart;
    case VK_END:
      return ctrl ? CursorKey::kTableEnd : CursorKey::kRowEnd;
    default:
      return std::nullopt;
  }
}

}  // namespace

TableKeyboard::TableKeyboard(Dialog dialog) : dialog_(std::move(dialog)) {}

void TableKeyboard::Bind(TCharTableKind kind) {
  fw::PictureControl& picture = dialog_.picture(kind);
  picture.OnFocusChange = [this, kind](bool focused) { FocusChanged(kind, focused); };
  picture.OnKeyDown = [this, kind](WPARAM key) { Key(kind, key); };
}

void TableKeyboard::Hovered(TCharTableKind kind, int x, int y) {
  if (const auto cell = CellIndexAt(PictureOf(kind), x, y)) cursors_.Hovered(kind, *cell);
}

std::optional<int> TableKeyboard::FocusedCell(TCharTableKind kind) const {
  if (GetFocus() != dialog_.picture(kind).Handle()) return std::nullopt;
  return cursors_.Cell(kind);
}

void TableKeyboard::FocusChanged(TCharTableKind kind, bool focused) {
  if (!focused) return;
  cursors_.Enter(kind);
  ShowCursor(kind);
  Announce(kind);
}

void TableKeyboard::Key(TCharTableKind kind, WPARAM key) {
  if (key == VK_SPACE) {
    // What a hover showed since is replaced by the cursor's cell first.
    ShowCursor(kind);
    dialog_.append();
    return;
  }
  const auto move = CursorKeyOf(key);
  if (!move) return;
  const bool moved = cursors_.Move(kind, *move);
  ShowCursor(kind);
  if (moved) Announce(kind);
}

void TableKeyboard::ShowCursor(TCharTableKind kind) {
  const PictureParams& p = PictureOf(kind);
  const int cell = cursors_.Enter(kind);
  const CellPoint centre = CellCentre(p, cell);
  dialog_.show(kind, centre.x, centre.y);
  const CellBox box = CellBounds(p, cell);
  dialog_.picture(kind).SetFocusCell(RECT{box.left, box.top, box.right, box.bottom});
}

void TableKeyboard::Announce(TCharTableKind kind) const {
  const auto cell = cursors_.Cell(kind);
  if (!cell) return;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, dialog_.picture(kind).Handle(), OBJID_CLIENT,
                 static_cast<LONG>(1 + *cell));
}

}  // namespace rf::picker
