#include "picker/SearchWindow.h"

#include <array>
#include <string>

#include "framework/controls.h"
#include "framework/errorbox.h"

namespace rf::picker {

namespace {

constexpr const char* kListClass = "TTrefferListe";
constexpr int kRowHeight = 30;  // the tallest cell (26) and a little air
constexpr int kTextLeft = 28;   // right of the glyph
constexpr const char* kNoHits = "Keine Treffer";
// Between the picker and the search when it opens beside it.
constexpr int kGapToPicker = 8;

// The result rows, drawn by the window; each row's text (name, entity,
// place, tab-separated) stays readable for drivers.
class ResultList final : public fw::Control {
 public:
  ResultList(fw::Form& form, const fw::ControlSpec& def, HWND parent) : fw::Control(form, def) {
    Create("LISTBOX",
           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
               LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
           WS_EX_CLIENTEDGE, parent, "");
    SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, form.DisplayScale().Edge(kRowHeight));
  }

 protected:
  void Rescale(const fw::ControlSpec& scaled) override {
    fw::Control::Rescale(scaled);
    SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, form_.DisplayScale().Edge(kRowHeight));
  }
};

const fw::FormSpec kSearchForm{.name = "FrmZeichenSuchen",
                               .caption = "Zeichen suchen",
                               .client_width = 360,
                               .client_height = 288,
                               .active_control = "EdSuche",
                               .system_menu = true,
                               .centered = false};

const std::array<fw::ControlSpec, 3> kSearchLayout = {{
    {.name = "LblSuche",
     .kind = fw::ControlKind::Label,
     .bounds = {8, 8, 344, 14},
     .caption = "Name, Stichwort, Entity oder Nummer:"},
    {.name = "EdSuche", .kind = fw::ControlKind::Edit, .bounds = {8, 24, 344, 20}, .tab_order = 0},
    {.name = "LbTreffer",
     .kind = fw::ControlKind::Custom,
     .bounds = {8, 50, 344, 230},
     .tab_order = 1,
     .class_name = kListClass},
}};

std::span<const fw::ControlSpec> SearchLayout() {
  static const bool registered = [] {
    fw::Form::RegisterControlClass(kListClass,
                                   [](fw::Form& form, const fw::ControlSpec& def, HWND parent) {
                                     return std::make_unique<ResultList>(form, def, parent);
                                   });
    return true;
  }();
  (void)registered;
  return kSearchLayout;
}

bool Blank(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

bool IsSearchShortcut(const MSG& msg) {
  // Ctrl+F arrives as its key, or as the control character it types.
  if (msg.message == WM_CHAR) return msg.wParam == 6;
  if (msg.message != WM_KEYDOWN) return false;
  return msg.wParam == VK_F3 || (msg.wParam == 'F' && (GetKeyState(VK_CONTROL) & 0x8000) &&
                                 !(GetKeyState(VK_MENU) & 0x8000));
}

SearchWindow::SearchWindow(Picker picker, CellGlyphs& glyphs)
    : fw::Form(kSearchForm, SearchLayout()), picker_(std::move(picker)), glyphs_(glyphs) {
  edit_ = Get<fw::Edit>("EdSuche").Handle();
  list_ = Get<ResultList>("LbTreffer").Handle();
  // Owned by the picker: always above it, and gone with it.
  SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(picker_.window));
  OnPreTranslate = [this](const MSG& msg) { return PreTranslateKey(msg); };
}

void SearchWindow::PlaceBesidePicker() {
  RECT picker, mine;
  GetWindowRect(picker_.window, &picker);
  GetWindowRect(hwnd_, &mine);
  const int w = mine.right - mine.left, h = mine.bottom - mine.top;
  MONITORINFO monitor = {sizeof monitor};
  GetMonitorInfoA(MonitorFromWindow(picker_.window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int gap = DisplayScale().Edge(kGapToPicker);
  int x = picker.right + gap;
  if (x + w > work.right) x = picker.left - gap - w;
  if (x < work.left) x = work.right - w;
  const int y = std::max<int>(work.top, std::min<int>(picker.top, work.bottom - h));
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  placed_ = true;
}

void SearchWindow::Open() {
  HWND focus = GetFocus();
  if (focus && IsChild(picker_.window, focus)) picker_focus_ = focus;
  if (!placed_) PlaceBesidePicker();
  Refilter();  // the table on show may have changed since
  Show();
  SetActiveWindow(hwnd_);
  ::SetFocus(edit_);
  SendMessageA(edit_, EM_SETSEL, 0, -1);
}

void SearchWindow::CloseSearch() {
  if (!IsWindowVisible(hwnd_)) return;
  Hide();
  SetActiveWindow(picker_.window);
  if (picker_focus_ && IsWindow(picker_focus_)) ::SetFocus(picker_focus_);
}

bool SearchWindow::PreTranslateKey(const MSG& msg) {
  if (IsSearchShortcut(msg)) {
    ::SetFocus(edit_);
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    return true;
  }
  if (msg.message != WM_KEYDOWN) return false;
  switch (msg.wParam) {
    case VK_ESCAPE:
      CloseSearch();
      return true;
    case VK_RETURN:
      ChooseSelected();
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      // The list moves while the focus stays in the edit.
      if (msg.hwnd != edit_) return false;
      SendMessageA(list_, WM_KEYDOWN, msg.wParam, msg.lParam);
      return true;
    default:
      return false;
  }
}

void SearchWindow::Refilter() {
  const std::string query = Get<fw::Edit>("EdSuche").Text();
  rows_ = FindCharacters(query, picker_.shown_table());
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LB_RESETCONTENT, 0, 0);
  for (const SearchRow& row : rows_) {
    const std::string text = RowName(row) + "\t" + RowEntity(row) + "\t" + RowWhere(row);
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (rows_.empty() && !Blank(query))
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoHits));
  if (!rows_.empty()) SendMessageA(list_, LB_SETCURSEL, 0, 0);
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void SearchWindow::ChooseSelected() {
  const LRESULT selected = SendMessageA(list_, LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= rows_.size()) return;
  const SearchRow row = rows_[static_cast<std::size_t>(selected)];
  picker_.choose(row);
  // The append gave the result line the focus; the search keeps the
  // keyboard for the next character, the result line its caret.
  HWND focus = GetFocus();
  if (focus && IsChild(picker_.window, focus)) picker_focus_ = focus;
  SetActiveWindow(hwnd_);
  ::SetFocus(edit_);
  SendMessageA(edit_, EM_SETSEL, 0, -1);
}

void SearchWindow::DrawRow(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == static_cast<UINT>(-1)) return;
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF text = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  fw::TextColorsScope colors(dc, text, back);
  fw::SelectScope font(dc, FontOf(*Find("LbTreffer")));
  if (item.itemID >= rows_.size()) {
    RECT line = {r.left + DisplayScale().Edge(6), r.top, r.right, r.bottom};
    DrawTextA(dc, kNoHits, -1, &line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  } else {
    // At 96 DPI these sizes; at a larger scale each of them scaled.
    const fw::Scale& s = DisplayScale();
    const SearchRow& row = rows_[item.itemID];
    const SIZE cell = glyphs_.CellSize(row.kind, row.index);
    const int top = r.top + (s.Edge(kRowHeight) - cell.cy) / 2;
    const RECT glyph = {r.left + s.Edge(4), top, r.left + s.Edge(4) + cell.cx, top + cell.cy};
    glyphs_.Draw(dc, row.kind, row.index, glyph);
    RECT name = {r.left + s.Edge(kTextLeft), r.top + s.Edge(2), r.right - s.Edge(4),
                 r.top + s.Edge(15)};
    {
      if (!name_font_ || font_percent_ != s.Percent()) {
        name_font_ = fw::MakeFont({.height = s.FontHeight(fw::kDialogFontHeight), .bold = true});
        font_percent_ = s.Percent();
      }
      fw::SelectScope bold(dc, name_font_.get());
      DrawTextA(dc, RowName(row).c_str(), -1, &name, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    RECT second = {r.left + s.Edge(kTextLeft), r.top + s.Edge(15), r.right - s.Edge(4), r.bottom};
    const std::string entity = RowEntity(row);
    const std::string detail = (entity.empty() ? "" : entity + "   ") + RowWhere(row);
    DrawTextA(dc, detail.c_str(), -1, &second, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  SetBkMode(dc, old_mode);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

bool SearchWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == edit_ && HIWORD(wp) == EN_CHANGE) {
        fw::Guarded([&] { Refilter(); });
        *result = 0;
        return true;
      }
      if (reinterpret_cast<HWND>(lp) == list_ && HIWORD(wp) == LBN_DBLCLK) {
        fw::Guarded([&] { ChooseSelected(); });
        *result = 0;
        return true;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->hwndItem != list_) break;
      fw::Guarded([&] { DrawRow(*item); });
      *result = TRUE;
      return true;
    }
    case WM_CLOSE:
      fw::Guarded([&] { CloseSearch(); });
      *result = 0;
      return true;
    default:
      break;
  }
  return fw::Form::HandleMessage(msg, wp, lp, result);
}

}  // namespace rf::picker
