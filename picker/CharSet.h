// The character picker dialog: twenty table pictures on tabs, the display
// fields of the character under the pointer, the output kind and the
// result line handed to the host.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "chardata/char_table_kind.h"
#include "chardata/configuration_host.h"
#include "chardata/profile_file.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "picker/accessible_texts.h"
#include "picker/search_query.h"

namespace rf::picker {

class CellGlyphs;
class Preview;
class SearchWindow;
class TableKeyboard;

// The output kinds in the order of the radio group's items.
enum TOutputKind : int { okDecimal, okUser1, okHex, okUser2, okEntity, okUser3 };

// The text appended last, at most kChosenFormCapacity characters;
// outlives the dialog.
extern std::string ChosenForm;

class TTCharSet final : public fw::Form, public chardata::ConfigurationHost {
 public:
  // Builds the dialog from its layout; the creation handler runs when the
  // caller calls RunCreate() (so that it can report errors itself).
  explicit TTCharSet(chardata::ProfileFile& profile);
  ~TTCharSet() override;

  // Handlers, named after their control and event.
  void FormCreate();
  bool FormCloseQuery();
  void BtnOKClick();
  void BtnAbbruchClick();
  void BtnInfoClick();
  void EdRueckKeyDown(WPARAM key);
  void PictureMouseMove(chardata::TCharTableKind kind, int x, int y);
  void PictureClick();

  void ClearFields();
  void AppendChosenForm();

  // The search's Enter: the row's tab, its fields as a hover shows them,
  // and its chosen form appended as a click appends it.
  void ShowFoundCell(const SearchRow& row);

  // The keyboard cursor's cell while that table's picture has the
  // keyboard focus, else nothing.
  std::optional<int> FocusedCell(chardata::TCharTableKind kind) const;

  // ConfigurationHost
  int OutputKindIndex() const override;
  void SetOutputKindIndex(int index) override;
  chardata::TCharTableKind ShownTable() const override;
  void ShowTable(chardata::TCharTableKind kind) override;
  void SetUserFormCaptions(int k, const std::string& item_caption,
                           const std::string& label_caption) override;
  chardata::BoxAnswer ShowBadDataBox(const std::string& text) override;
  void DiscardResult() override;
  void SetHourglass(bool on) override;
  std::string PluginModuleFileName() const override;

 private:
  fw::Edit& Field(const char* name) const { return Get<fw::Edit>(name); }
  fw::TabPage& PageOf(chardata::TCharTableKind kind) const;
  void BindHandlers();
  void ConfirmResult();
  // AppendChosenForm without giving EdRueck the focus or moving its caret
  // (Space in a table moves the caret only).
  void AppendChosenText();
  void LoadPictures();
  // The preview and the search are made when first wanted, so a user who
  // never rests on a cell or searches meets the dialog as it always was.
  CellGlyphs& Glyphs();
  void TrackPreview(HWND picture, chardata::TCharTableKind kind, int x, int y);
  void HidePreview();
  void DismissPreview();
  void OpenSearch();

  chardata::ProfileFile& profile_;
  std::unique_ptr<CellGlyphs> glyphs_;
  std::unique_ptr<Preview> preview_;
  std::unique_ptr<SearchWindow> search_;
  std::unique_ptr<TableKeyboard> keyboard_;
};

}  // namespace rf::picker
