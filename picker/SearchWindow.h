// The search window ("Zeichen suchen"): modeless, owned by the picker, in
// its message loop. An edit filters all twenty tables as one types; Enter
// or a double click hands the chosen row to the picker, Escape closes the
// window only.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/form.h"
#include "picker/CellGlyphs.h"
#include "picker/search_query.h"

namespace rf::picker {

// Ctrl+F or F3: opens the search in the picker, returns to its edit in
// the search itself.
bool IsSearchShortcut(const MSG& msg);

class SearchWindow final : public fw::Form {
 public:
  struct Picker {
    HWND window;
    std::function<chardata::TCharTableKind()> shown_table;
    std::function<void(const SearchRow&)> choose;  // shows, fills, appends
  };
  SearchWindow(Picker picker, CellGlyphs& glyphs);

  // Shows the window where it was last (beside the picker the first time),
  // with the focus and the whole query selected in the edit.
  void Open();
  // Hides it and gives the picker its activation and focus back.
  void CloseSearch();

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 private:
  bool PreTranslateKey(const MSG& msg);
  void Refilter();
  void ChooseSelected();
  void DrawRow(const DRAWITEMSTRUCT& item);
  void PlaceBesidePicker();

  Picker picker_;
  CellGlyphs& glyphs_;
  std::vector<SearchRow> rows_;
  HWND edit_ = nullptr;
  HWND list_ = nullptr;
  HWND picker_focus_ = nullptr;  // what had the focus in the picker
  bool placed_ = false;
  fw::UniqueFont name_font_;  // made for the scale of font_percent_
  int font_percent_ = 0;
};

}  // namespace rf::picker
