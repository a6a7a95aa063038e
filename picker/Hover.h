// The table pictures' geometry and hit testing: turning a mouse position
// over a picture into a cell and the seven texts the dialog's display
// fields show for it. Portable (rf_picker_portable), so it runs natively.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chardata/char_table_kind.h"

namespace rf::picker {

struct PictureParams {
  std::string_view picture;  // picture control name, e.g. "IISO8859_1"
  int width;                 // pixels
  int height;
  int cell_height;  // cells are 18 pixels wide on every picture
  int rows;         // cells per column
  chardata::TCharTableKind kind;
};

inline constexpr int kCellWidth = 18;

const PictureParams& PictureOf(chardata::TCharTableKind kind);

// The cell index under (x, y), or nothing on the frame or outside the
// picture. Cells run down each column, then on to the next column.
std::optional<int> CellIndexAt(const PictureParams& picture, int x, int y);

// A cell's rectangle in picture pixels, right and bottom exclusive: from
// its own left and top grid line to the next ones, as the hit testing
// gives each grid line to the cell right of or below it.
struct CellBox {
  int left, top, right, bottom;
};
CellBox CellBounds(const PictureParams& picture, int cell);

// The texts of EdZeichenNr, EdDez, EdHex, EdEntitie, EdUser1..3.
struct HoverTexts {
  std::string number;
  std::string dec;
  std::string hex;
  std::string entity;
  std::string user1;
  std::string user2;
  std::string user3;
};

// Nothing: the dialog clears its fields. Otherwise the entry's forms, an
// empty user form filled from its template when that is set.
std::optional<HoverTexts> HoverDisplay(chardata::TCharTableKind kind, int x, int y);

}  // namespace rf::picker
