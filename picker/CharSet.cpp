#include "picker/CharSet.h"

#include <array>

#include "chardata/choices.h"
#include "chardata/configuration.h"
#include "chardata/module_file_name.h"
#include "chardata/result.h"
#include "framework/cursor.h"
#include "framework/errorbox.h"
#include "framework/fehler_dialog.h"
#include "framework/graphic.h"
#include "framework/module.h"
#include "info/Info.h"
#include "picker/CellGlyphs.h"
#include "picker/Hover.h"
#include "picker/Preview.h"
#include "picker/SearchWindow.h"
#include "picker/TableAccessibility.h"
#include "picker/TableKeyboard.h"
#include "picker/table_cursor.h"
#include "resources/layouts.h"

namespace rf::picker {

using chardata::TCharTableKind;

std::string ChosenForm;

namespace {

// Code page 850 appends when the button is released, every other picture
// when it is pressed.
constexpr TCharTableKind kClickOnRelease = chardata::ctCP850;

// The tab sheet of each table, in table order.
constexpr std::array<const char*, 20> kPages = {
    "TSansi",  "TSiso1",  "TSiso2",  "TSiso3",  "TSiso4",    "TSiso5",  "TSiso6",
    "TSiso7",  "TSiso8",  "TSiso9",  "TSiso10", "TSiso11",   "TSiso13", "TSiso14",
    "TSiso15", "TSiso16", "TScp437", "TScp850", "TSTechnik", "TSGrafik"};

// The display field of each output kind, in radio item order.
constexpr std::array<const char*, 6> kKindFields = {"EdDez",   "EdUser1",   "EdHex",
                                                    "EdUser2", "EdEntitie", "EdUser3"};
constexpr std::array<const char*, 3> kUserLabels = {"LblUser1", "LblUser2", "LblUser3"};

}  // namespace

TTCharSet::TTCharSet(chardata::ProfileFile& profile)
    : fw::Form(resources::CharSetForm(), resources::CharSetLayout()), profile_(profile) {
  BindHandlers();
  LoadPictures();
  MakeAccessible(*this, {[this] { return OutputKindIndex(); },
                         [this](TCharTableKind kind) { return FocusedCell(kind); }});
  // The layout opens on "ISO 8859", "-3"; configuration may change it.
  ShowTable(chardata::ctISO8859_3);
}

// The popups go before the dialog's window, which owns them.
TTCharSet::~TTCharSet() = default;

void TTCharSet::BindHandlers() {
  OnCreate = [this] { FormCreate(); };
  OnCloseQuery = [this] { return FormCloseQuery(); };
  Get<fw::Button>("BtnOK").OnClick = [this] { BtnOKClick(); };
  Get<fw::Button>("BtnAbbruch").OnClick = [this] { BtnAbbruchClick(); };
  Get<fw::Button>("BtnInfo").OnClick = [this] { BtnInfoClick(); };
  Get<fw::Edit>("EdRueck").OnKeyDown = [this](WPARAM key) { EdRueckKeyDown(key); };
  OnPreTranslate = [this](const MSG& msg) {
    if (!IsSearchShortcut(msg)) return false;
    OpenSearch();
    return true;
  };
  keyboard_ = std::make_unique<TableKeyboard>(TableKeyboard::Dialog{
      [this](TCharTableKind kind) -> fw::PictureControl& {
        return Get<fw::PictureControl>(std::string(PictureOf(kind).picture));
      },
      [this](TCharTableKind kind, int x, int y) { PictureMouseMove(kind, x, y); },
      [this] {
        AppendChosenText();
        Get<fw::Edit>("EdRueck").MoveCaretToEnd();
      }});
  for (TCharTableKind kind : chardata::kAllCharTableKinds) {
    auto& picture = Get<fw::PictureControl>(std::string(PictureOf(kind).picture));
    HWND handle = picture.Handle();
    keyboard_->Bind(kind);
    picture.OnMouseMove = [this, kind, handle](int x, int y) {
      PictureMouseMove(kind, x, y);
      keyboard_->Hovered(kind, x, y);
      TrackPreview(handle, kind, x, y);
    };
    picture.OnMouseLeave = [this, handle] {
      if (preview_) preview_->Leave(handle);
    };
    auto click = [this](fw::MouseButton, int, int) { PictureClick(); };
    // Any press puts the preview away; code page 850 appends on the release.
    if (kind == kClickOnRelease) {
      picture.OnMouseDown = [this](fw::MouseButton, int, int) { DismissPreview(); };
      picture.OnMouseUp = click;
    } else {
      picture.OnMouseDown = [this, click](fw::MouseButton b, int x, int y) {
        DismissPreview();
        click(b, x, y);
      };
    }
  }
}

CellGlyphs& TTCharSet::Glyphs() {
  if (!glyphs_) {
    glyphs_ = std::make_unique<CellGlyphs>(
        [this](TCharTableKind kind) {
          return Get<fw::PictureControl>(std::string(PictureOf(kind).picture)).Picture();
        },
        [this] { return DisplayScale(); });
  }
  return *glyphs_;
}

void TTCharSet::TrackPreview(HWND picture, TCharTableKind kind, int x, int y) {
  if (!preview_) {
    // Nothing to show on the frame: no window is made for it either.
    if (!CellIndexAt(PictureOf(kind), x, y)) return;
    preview_ = std::make_unique<Preview>(*this, Glyphs());
  }
  preview_->Track(picture, kind, x, y);
}

void TTCharSet::HidePreview() {
  if (preview_) preview_->Hide();
}

void TTCharSet::DismissPreview() {
  if (preview_) preview_->Dismiss();
}

void TTCharSet::OpenSearch() {
  HidePreview();
  if (!search_) {
    search_ = std::make_unique<SearchWindow>(
        SearchWindow::Picker{Handle(), [this] { return ShownTable(); },
                             [this](const SearchRow& row) { ShowFoundCell(row); }},
        Glyphs());
  }
  search_->Open();
}

void TTCharSet::ShowFoundCell(const SearchRow& row) {
  ShowTable(row.kind);
  // The middle of the cell: what a hover there shows, templates included.
  const CellPoint centre = CellCentre(PictureOf(row.kind), row.index);
  PictureMouseMove(row.kind, centre.x, centre.y);
  AppendChosenForm();
}

void TTCharSet::LoadPictures() {
  HMODULE module = fw::ModuleHandle();
  for (TCharTableKind kind : chardata::kAllCharTableKinds) {
    const std::string picture(PictureOf(kind).picture);
    auto& control = Get<fw::PictureControl>(picture);
    control.LoadPicture(module, picture);
    control.SetFollowsHighContrast(true);
  }
}

void TTCharSet::FormCreate() {
  chardata::LoadConfiguration(*this, profile_);
}

bool TTCharSet::FormCloseQuery() {
  HidePreview();
  if (search_) search_->Hide();
  // A file that cannot be written must not keep the dialog open: the error
  // is reported and the close goes on.
  fw::Guarded([&] { chardata::SaveChoices(*this, profile_); });
  return true;
}

void TTCharSet::ConfirmResult() {
  chardata::ResultText = Get<fw::Edit>("EdRueck").Text();
  chardata::ResultKind = 1;
}

void TTCharSet::DiscardResult() {
  chardata::ResultText.clear();
  chardata::ResultKind = 0;
}

void TTCharSet::BtnOKClick() {
  ConfirmResult();
}

void TTCharSet::BtnAbbruchClick() {
  DiscardResult();
}

void TTCharSet::BtnInfoClick() {
  if (!info::InfoShowing) info::CreateInfoDialog();
}

void TTCharSet::EdRueckKeyDown(WPARAM key) {
  if (key == VK_RETURN) {
    ConfirmResult();
    SetModalResult(fw::mrOk);
  } else if (key == VK_ESCAPE) {
    DiscardResult();
    SetModalResult(fw::mrCancel);
  }
}

void TTCharSet::PictureMouseMove(TCharTableKind kind, int x, int y) {
  const auto texts = HoverDisplay(kind, x, y);
  if (!texts) {
    ClearFields();
    return;
  }
  Field("EdZeichenNr").SetText(texts->number);
  Field("EdDez").SetText(texts->dec);
  Field("EdHex").SetText(texts->hex);
  Field("EdEntitie").SetText(texts->entity);
  Field("EdUser1").SetText(texts->user1);
  Field("EdUser2").SetText(texts->user2);
  Field("EdUser3").SetText(texts->user3);
}

void TTCharSet::PictureClick() {
  AppendChosenForm();
}

void TTCharSet::ClearFields() {
  for (const char* name :
       {"EdZeichenNr", "EdDez", "EdHex", "EdEntitie", "EdUser1", "EdUser2", "EdUser3"})
    Field(name).SetText("");
}

void TTCharSet::AppendChosenForm() {
  AppendChosenText();
  auto& result = Get<fw::Edit>("EdRueck");
  result.SetFocus();
  result.MoveCaretToEnd();
}

void TTCharSet::AppendChosenText() {
  const int kind = OutputKindIndex();
  const std::string shown = kind >= 0 && kind < static_cast<int>(kKindFields.size())
                                ? Field(kKindFields[kind]).Text()
                                : "";
  ChosenForm = CutToChosenForm(shown);
  auto& result = Get<fw::Edit>("EdRueck");
  result.SetText(result.Text() + ChosenForm);
}

std::optional<int> TTCharSet::FocusedCell(TCharTableKind kind) const {
  return keyboard_->FocusedCell(kind);
}

int TTCharSet::OutputKindIndex() const {
  return Get<fw::RadioGroup>("RGAusgabeTyp").ItemIndex();
}

void TTCharSet::SetOutputKindIndex(int index) {
  Get<fw::RadioGroup>("RGAusgabeTyp").SetItemIndex(index);
}

fw::TabPage& TTCharSet::PageOf(TCharTableKind kind) const {
  return Get<fw::TabPage>(kPages.at(static_cast<std::size_t>(kind)));
}

TCharTableKind TTCharSet::ShownTable() const {
  const auto& outer = Get<fw::TabControl>("PCChar");
  const fw::TabPage* page = outer.ActivePage();
  if (page && page->Name() == "TSiso") page = Get<fw::TabControl>("PCiso").ActivePage();
  for (TCharTableKind kind : chardata::kAllCharTableKinds)
    if (page && page->Name() == kPages[kind]) return kind;
  return chardata::ctISO8859_3;
}

void TTCharSet::ShowTable(TCharTableKind kind) {
  fw::TabPage& page = PageOf(kind);
  if (chardata::IsIsoTable(kind)) {
    Get<fw::TabControl>("PCChar").SetActivePage(&Get<fw::TabPage>("TSiso"));
    page.Owner().SetActivePage(&page);
  } else {
    page.Owner().SetActivePage(&page);
  }
}

void TTCharSet::SetUserFormCaptions(int k, const std::string& item_caption,
                                    const std::string& label_caption) {
  if (k < 1 || k > 3) return;
  Get<fw::RadioGroup>("RGAusgabeTyp").SetItemCaption(2 * k - 1, item_caption);
  Get<fw::Label>(kUserLabels[static_cast<std::size_t>(k - 1)]).SetText(label_caption);
}

chardata::BoxAnswer TTCharSet::ShowBadDataBox(const std::string& text) {
  return fw::ShowFehlerDialog(text) == fw::FehlerAnswer::Ok ? chardata::BoxAnswer::kConfirmed
                                                            : chardata::BoxAnswer::kClosed;
}

void TTCharSet::SetHourglass(bool on) {
  fw::SetScreenCursor(on ? fw::ScreenCursor::HourGlass : fw::ScreenCursor::Default);
}

std::string TTCharSet::PluginModuleFileName() const {
  return chardata::PluginModuleFileName();
}

}  // namespace rf::picker
