#include "picker/TableAccessibility.h"

#include <oleacc.h>

#include <array>
#include <string>

#include "chardata/char_table_kind.h"
#include "framework/accessible_object.h"
#include "framework/controls.h"
#include "picker/Hover.h"
#include "picker/accessible_texts.h"
#include "resources/layouts.h"

namespace rf::picker {

using chardata::TCharTableKind;

namespace {

// Child ids count cells from 1: 0 is the table itself.
int ChildOf(int cell) {
  return cell + 1;
}

class TableCells final : public fw::AccessibleSource {
 public:
  TableCells(fw::Form& dialog, fw::PictureControl& picture, TCharTableKind kind,
             const AccessibilityHooks& hooks)
      : dialog_(dialog),
        picture_(picture),
        kind_(kind),
        hooks_(hooks),
        name_(TableName(resources::CharSetLayout(), kind)) {}

  std::optional<int> ChildCount() override { return chardata::TableEntryCount(kind_); }

  std::optional<long> Role(int child) override {
    return child == CHILDID_SELF ? ROLE_SYSTEM_TABLE : ROLE_SYSTEM_CELL;
  }

  std::optional<std::string> Name(int child) override {
    return child == CHILDID_SELF ? name_ : CellName(kind_, child - 1);
  }

  std::optional<std::string> Value(int child) override {
    if (child == CHILDID_SELF) return std::nullopt;
    return CellValue(kind_, child - 1, hooks_.output_kind ? hooks_.output_kind() : 0);
  }

  std::optional<std::string> Description(int child) override {
    if (child == CHILDID_SELF) return std::nullopt;
    return CellDescription(kind_, child - 1);
  }

  std::optional<long> State(int child) override {
    if (child == CHILDID_SELF) return std::nullopt;
    long state = STATE_SYSTEM_FOCUSABLE;
    if (!picture_.Visible()) state |= STATE_SYSTEM_INVISIBLE;
    if (FocusedCell() == child - 1) state |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED;
    return state;
  }

  // From the cell's own left and top grid line to the next ones, at the
  // dialog's scale, as the picture is drawn and hit.
  std::optional<RECT> Location(int child) override {
    if (child == CHILDID_SELF) return std::nullopt;
    const CellBox box = CellBounds(PictureOf(kind_), child - 1);
    const fw::Scale& scale = dialog_.DisplayScale();
    POINT corners[2] = {{scale.Edge(box.left), scale.Edge(box.top)},
                        {scale.Edge(box.right), scale.Edge(box.bottom)}};
    MapWindowPoints(picture_.Handle(), HWND_DESKTOP, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  }

  std::optional<int> HitTest(POINT screen) override {
    POINT at = screen;
    ScreenToClient(picture_.Handle(), &at);
    RECT client;
    GetClientRect(picture_.Handle(), &client);
    if (!PtInRect(&client, at)) return -1;
    const fw::Scale& scale = dialog_.DisplayScale();
    const auto cell = CellIndexAt(PictureOf(kind_), scale.ToLayout(at.x), scale.ToLayout(at.y));
    return cell ? ChildOf(*cell) : CHILDID_SELF;
  }

  std::optional<int> Navigate(int from, long direction) override {
    const int count = chardata::TableEntryCount(kind_);
    if (from == CHILDID_SELF) {
      if (direction == NAVDIR_FIRSTCHILD) return ChildOf(0);
      if (direction == NAVDIR_LASTCHILD) return ChildOf(count - 1);
      return std::nullopt;  // among the table's siblings: the standard object
    }
    const int cell = from - 1;
    std::optional<int> to;
    switch (direction) {
      case NAVDIR_UP:
        to = NeighbourCell(kind_, cell, 0, -1);
        break;
      case NAVDIR_DOWN:
        to = NeighbourCell(kind_, cell, 0, 1);
        break;
      case NAVDIR_LEFT:
        to = NeighbourCell(kind_, cell, -1, 0);
        break;
      case NAVDIR_RIGHT:
        to = NeighbourCell(kind_, cell, 1, 0);
        break;
      case NAVDIR_NEXT:
        if (cell + 1 < count) to = cell + 1;
        break;
      case NAVDIR_PREVIOUS:
        if (cell > 0) to = cell - 1;
        break;
      default:
        break;
    }
    return to ? ChildOf(*to) : 0;
  }

  std::optional<int> FocusedChild() override {
    if (const auto cell = FocusedCell()) return ChildOf(*cell);
    return GetFocus() == picture_.Handle() ? CHILDID_SELF : -1;
  }

 private:
  std::optional<int> FocusedCell() const {
    return hooks_.focused_cell ? hooks_.focused_cell(kind_) : std::nullopt;
  }

  fw::Form& dialog_;
  fw::PictureControl& picture_;
  const TCharTableKind kind_;
  const AccessibilityHooks hooks_;
  const std::string name_;
};

// An edit and its label have different parents, so the system finds no
// name for it: the label's caption of the moment is its name, everything
// else the edit's standard object tells.
class LabelledEdit final : public fw::AccessibleSource {
 public:
  explicit LabelledEdit(const fw::Control& label) : label_(label) {}
  std::optional<std::string> Name(int child) override {
    if (child != CHILDID_SELF) return std::nullopt;
    return label_.Text();
  }

 private:
  const fw::Control& label_;
};

struct EditLabel {
  const char* edit;
  const char* label;
};
constexpr std::array<EditLabel, 8> kEditLabels = {{
    {"EdDez", "LblDez"},
    {"EdHex", "LblHex"},
    {"EdEntitie", "LblEntitie"},
    {"EdUser1", "LblUser1"},
    {"EdUser2", "LblUser2"},
    {"EdUser3", "LblUser3"},
    {"EdZeichenNr", "LblZeichenNr"},
    {"EdRueck", "LblRueck"},
}};

}  // namespace

void MakeAccessible(fw::Form& dialog, const AccessibilityHooks& hooks) {
  for (TCharTableKind kind : chardata::kAllCharTableKinds) {
    auto& picture = dialog.Get<fw::PictureControl>(std::string(PictureOf(kind).picture));
    picture.SetAccessibleSource(std::make_unique<TableCells>(dialog, picture, kind, hooks));
  }
  for (const EditLabel& e : kEditLabels) {
    dialog.Get<fw::Edit>(e.edit).SetAccessibleSource(
        std::make_unique<LabelledEdit>(dialog.Get<fw::Label>(e.label)));
  }
}

}  // namespace rf::picker
