// The preview popup: when the pointer rests on a cell, the cell's glyph
// enlarged, its name, its number and entity, and a hint that Ctrl+F
// searches. It never takes focus or activation, never covers the cell
// under the pointer, and lets the mouse through to the picture beneath.
#pragma once

#include <windows.h>

#include <optional>

#include "chardata/char_table_kind.h"
#include "framework/control.h"
#include "framework/form.h"
#include "framework/gdi.h"
#include "picker/CellGlyphs.h"

namespace rf::picker {

// How long the pointer rests before the popup opens, and how much the glyph
// is enlarged (whole pixels keep it crisp).
inline constexpr UINT kPreviewRestMs = 500;
inline constexpr int kPreviewGlyphScale = 3;

class Preview final : public fw::Control {
 public:
  Preview(fw::Form& picker, CellGlyphs& glyphs);

  // A mouse move at (x, y) of a picture control: (re)starts the rest, or
  // moves an open popup to the new cell.
  void Track(HWND picture, chardata::TCharTableKind kind, int x, int y);
  void Hide();
  // The pointer left a picture; a late leave of another picture than the
  // one rested on changes nothing.
  void Leave(HWND picture);
  // A press: hidden, and not opened again on this cell until the pointer
  // moves to another one, as tooltips do.
  void Dismiss();
  bool Showing() const { return Visible(); }

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 private:
  struct Target {
    HWND picture;
    chardata::TCharTableKind kind;
    int index;
    POINT pointer;  // screen
  };
  void Open();
  void Paint(HDC dc);
  // Where the parts go inside the popup; the popup's size from them.
  struct Parts {
    RECT glyph, number, entity, name, hint;
    SIZE size;
  };
  Parts Arrange(HDC dc) const;
  // The name's and the hint's fonts for the picker's scale.
  void MakeFonts();
  bool StillWanted() const;

  fw::Form& picker_;
  CellGlyphs& glyphs_;
  std::optional<Target> target_;  // the cell rested on, or shown
  std::optional<Target> dismissed_;
  fw::UniqueFont name_font_, hint_font_;
  int font_percent_ = 0;  // the scale they were made for
  std::string name_, number_, entity_;
};

}  // namespace rf::picker
