#include "framework/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/errorbox.h"
#include "framework/form.h"
#include "framework/module.h"

namespace rf::fw {
namespace {

DWORD TabStopStyle(const ControlSpec& def) {
  return def.tab_stop && def.tab_order >= 0 ? WS_TABSTOP : 0;
}

std::vector<std::string> SplitItems(const char* items) {
  std::vector<std::string> out;
  if (!items) return out;
  std::string current;
  for (const char* p = items; *p; ++p) {
    if (*p == '\n') {
      out.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  out.push_back(current);
  return out;
}

bool EraseFace(HWND hwnd, UINT msg, WPARAM wp, LRESULT* result);

}  // namespace

// ---- Label ----

Label::Label(Form& form, const ControlSpec& def, HWND parent)
    : Control(form, def), color_(def.font.color) {
  DWORD style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
  switch (def.alignment) {
    case TextAlign::Left:
      style |= def.word_wrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
      break;
    case TextAlign::Center:
      style |= SS_CENTER;
      break;
    case TextAlign::Right:
      style |= SS_RIGHT;
      break;
  }
  if (!def.show_accel_char) style |= SS_NOPREFIX;
  // A transparent label is painted after the siblings beneath it.
  Create("STATIC", style, def.transparent ? WS_EX_TRANSPARENT : 0, parent,
         def.caption ? def.caption : "");
  if (def.auto_height) FitHeight();
  if (def.auto_size) FitSize();
}

void Label::SetText(const std::string& text) {
  Control::SetText(text);
  if (def_.auto_height) FitHeight();
  if (def_.auto_size) FitSize();
  Repaint();
}

void Label::Repaint() {
  if (!def_.transparent) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    return;
  }
  // The old text is only wiped by repainting what lies beneath.
  HWND parent = GetParent(hwnd_);
  RECT r = BoundsRect();
  RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Label::SetTextColor(COLORREF color) {
  color_ = color;
  Repaint();
}

void Label::SetFont(HFONT font) {
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (def_.auto_size) FitSize();
  Repaint();
}

HBRUSH Label::ColorBrush(HDC dc) {
  ::SetTextColor(dc, color_);
  SetBkMode(dc, TRANSPARENT);
  if (def_.transparent) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return GetSysColorBrush(COLOR_BTNFACE);
}

void Label::Rescale(const ControlSpec& scaled) {
  Control::Rescale(scaled);
  if (def_.auto_height) FitHeight();
  if (def_.auto_size) FitSize();
}

void Label::FitSize() {
  WindowDC dc(hwnd_);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  SelectScope sel(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  // An empty label keeps the height of a line.
  const std::string text = Text().empty() ? std::string(" ") : Text();
  RECT r = {0, 0, 0, 0};
  DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | (def_.show_accel_char ? 0 : DT_NOPREFIX));
  // Glyphs that reach left of their cell (a negative A width, as in "w")
  // are drawn by some systems without that overlap: leave room for it.
  for (const char c : text) {
    ABC abc = {};
    const UINT code = static_cast<unsigned char>(c);
    if (GetCharABCWidthsA(dc.get(), code, code, &abc) && abc.abcA < 0) r.right -= abc.abcA;
  }
  // The left edge stays, or the right one for right-aligned text.
  const RECT now = BoundsRect();
  const int left = def_.alignment == TextAlign::Right ? now.right - r.right : now.left;
  SetWindowPos(hwnd_, nullptr, left, now.top, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::FitHeight() {
  WindowDC dc(hwnd_);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  SelectScope sel(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const std::string text = Text();
  RECT r = {0, 0, def_.bounds.width, 0};
  DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
  SetWindowPos(hwnd_, nullptr, 0, 0, def_.bounds.width, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Edit ----

Edit::Edit(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  DWORD style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_LEFT | TabStopStyle(def);
  if (def.read_only) style |= ES_READONLY;
  Create("EDIT", style, WS_EX_CLIENTEDGE, parent, def.caption ? def.caption : "");
  if (def.max_length > 0) SendMessageA(hwnd_, EM_LIMITTEXT, def.max_length, 0);
}

void Edit::MoveCaretToEnd() {
  const int n = GetWindowTextLengthA(hwnd_);
  SendMessageA(hwnd_, EM_SETSEL, n, n);
  SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);
}

bool Edit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_GETDLGCODE) {
    LRESULT code = CallDefault(msg, wp, lp);
    // Tabbing in keeps the caret and selection as they were.
    if (!def_.select_on_focus) code &= ~DLGC_HASSETSEL;
    // An edit with a key handler sees Enter and Escape itself instead of
    // the dialog navigation turning them into commands.
    if (OnKeyDown && lp) {
      const MSG* m = reinterpret_cast<const MSG*>(lp);
      if (m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
    }
    *result = code;
    return true;
  }
  if (msg == WM_CHAR && OnKeyDown && (wp == '\r' || wp == 27)) {
    // A single-line edit beeps at these; the key was handled on key down.
    *result = 0;
    return true;
  }
  return Control::HandleMessage(msg, wp, lp, result);
}

// ---- Button ----

Button::Button(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  Create("BUTTON", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | TabStopStyle(def), 0, parent,
         def.caption ? def.caption : "");
}

void Button::Click() {
  if (def_.modal_result != 0) form_.SetModalResult(def_.modal_result);
  if (OnClick) Guarded([&] { OnClick(); });
}

void Button::HandleCommand(WORD code) {
  if (code == BN_CLICKED) Click();
}

// ---- GroupBox ----

GroupBox::GroupBox(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  Create("BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
         parent, def.caption ? def.caption : "");
}

namespace {
bool EraseFace(HWND hwnd, UINT msg, WPARAM wp, LRESULT* result) {
  // A group box that holds controls must paint its own inside.
  if (msg != WM_ERASEBKGND) return false;
  RECT r;
  GetClientRect(hwnd, &r);
  FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
  *result = 1;
  return true;
}
}  // namespace

bool GroupBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (EraseFace(hwnd_, msg, wp, result)) return true;
  return Control::HandleMessage(msg, wp, lp, result);
}

// ---- RadioGroup ----

RadioGroup::RadioGroup(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  Create("BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
         parent, def.caption ? def.caption : "");
  HFONT font = form.FontFor(def);
  const auto items = SplitItems(def.items);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | (i == 0 ? WS_GROUP : 0);
    HWND b = CreateWindowExA(0, "BUTTON", items[i].c_str(), style, 0, 0, 10, 10, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)),
                             ModuleHandle(), nullptr);
    if (!b) throw std::runtime_error("Cannot create window " + name_);
    if (font) SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    buttons_.push_back(b);
  }
  Arrange();
  SetItemIndex(def.item_index);
}

void RadioGroup::Arrange() {
  if (buttons_.empty()) return;
  // Items fill the columns one after another, top to bottom.
  const int columns = std::max(1, def_.columns);
  const int count = static_cast<int>(buttons_.size());
  const int per_column = (count + columns - 1) / columns;
  const Scale& scale = form_.DisplayScale();
  const int width = (def_.bounds.width - scale.Edge(10)) / columns;
  int text_height = 13;
  {
    WindowDC dc(hwnd_);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    SelectScope sel(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm = {};
    if (GetTextMetricsA(dc.get(), &tm)) text_height = tm.tmHeight;
  }
  const int room = def_.bounds.height - text_height - scale.Edge(5);
  const int height = room / per_column;
  const int top_margin = text_height + scale.Edge(1) + (room % per_column) / 2;
  for (int i = 0; i < count; ++i) {
    const int left = (i / per_column) * width + scale.Edge(8);
    const int top = (i % per_column) * height + top_margin;
    SetWindowPos(buttons_[i], nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void RadioGroup::Rescale(const ControlSpec& scaled) {
  Control::Rescale(scaled);
  if (HFONT font = form_.FontFor(def_))
    for (HWND b : buttons_) SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  Arrange();
}

int RadioGroup::ItemIndex() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (SendMessageA(buttons_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
  return -1;
}

void RadioGroup::SetItemIndex(int index) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const bool on = static_cast<int>(i) == index;
    SendMessageA(buttons_[i], BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    // Only the selected item is a tab stop, as in a dialog's radio group.
    LONG style = GetWindowLongA(buttons_[i], GWL_STYLE);
    const bool tab = (index < 0 ? i == 0 : on) && def_.tab_stop && def_.tab_order >= 0;
    style = tab ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowLongA(buttons_[i], GWL_STYLE, style);
  }
}

std::string RadioGroup::ItemCaption(int index) const {
  HWND b = buttons_.at(static_cast<std::size_t>(index));
  const int n = GetWindowTextLengthA(b);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(b, text.data(), n + 1)));
  return text;
}

void RadioGroup::SetItemCaption(int index, const std::string& caption) {
  SetWindowTextA(buttons_.at(static_cast<std::size_t>(index)), caption.c_str());
}

bool RadioGroup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (EraseFace(hwnd_, msg, wp, result)) return true;
  if (msg == WM_COMMAND) {
    HWND from = reinterpret_cast<HWND>(lp);
    const auto it = std::find(buttons_.begin(), buttons_.end(), from);
    if (it != buttons_.end()) {
      const WORD code = HIWORD(wp);
      if (code == BN_CLICKED || code == BN_SETFOCUS) {
        SetItemIndex(static_cast<int>(it - buttons_.begin()));
        if (OnClick) Guarded([&] { OnClick(); });
      }
      *result = 0;
      return true;
    }
  }
  return Control::HandleMessage(msg, wp, lp, result);
}

// ---- Panel ----

Panel::Panel(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  Create(FrameworkWindowClass(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
         parent, def.caption ? def.caption : "");
}

bool Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    EndPaint(hwnd_, &ps);
    *result = 0;
    return true;
  }
  return Control::HandleMessage(msg, wp, lp, result);
}

// ---- TabControl and TabPage ----

TabControl::TabControl(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  Create(WC_TABCONTROLA,
         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TabStopStyle(def),
         WS_EX_CONTROLPARENT, parent, "");
  // Tabs as wide as their captions: the system's minimum (54 pixels under
  // Wine) pushes short captions under a panel beside the row or behind the
  // scroll arrows.
  SendMessageA(hwnd_, TCM_SETMINTABWIDTH, 0, 0);
  SetPaddingForScale(false);
}

// The system's padding around a caption is in device pixels; on a scaled
// form it grows with the caption, so the tabs keep their proportions. At
// 100 % the system's own is kept, unless a form scaled back needs it again.
void TabControl::SetPaddingForScale(bool also_at_100) {
  const Scale& scale = form_.DisplayScale();
  if (scale.IsIdentity() && !also_at_100) return;
  constexpr int kPaddingX = 6, kPaddingY = 3;  // the system's at 96 DPI
  SendMessageA(hwnd_, TCM_SETPADDING, 0, MAKELPARAM(scale.Edge(kPaddingX), scale.Edge(kPaddingY)));
}

// Once a tab gives the row its height, and before any page holds children
// sized to the page area.
void TabControl::FitTabRow(bool exact) {
  const int wanted = def_.tab_row_height;
  if (wanted <= 0 || pages_.empty()) return;
  const int top = PageArea().top;
  if (top == wanted || (top > wanted && !exact)) return;
  RECT tab = {};
  SendMessageA(hwnd_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  const int height = tab.bottom - tab.top + (wanted - top);
  SendMessageA(hwnd_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, height));
}

void TabControl::AddPage(TabPage* page) {
  const std::string caption = page->Caption();
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(caption.c_str());
  SendMessageA(hwnd_, TCM_INSERTITEMA, pages_.size(), reinterpret_cast<LPARAM>(&item));
  pages_.push_back(page);
  if (pages_.size() == 1) FitTabRow(false);
  ShowWindow(page->Handle(), SW_HIDE);
  PlacePages();
  if (active_ < 0) SetActivePage(page);
}

// The page area changes as tabs are added (rows, height of the row);
// pages already in place are left alone, each move costs a round trip.
void TabControl::PlacePages() {
  const RECT area = PageArea();
  for (TabPage* p : pages_) {
    const RECT now = p->BoundsRect();
    if (EqualRect(&now, &area)) continue;
    SetWindowPos(p->Handle(), nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TabControl::Rescale(const ControlSpec& scaled) {
  ControlSpec s = scaled;
  if (s.align_client) {
    RECT client;
    GetClientRect(GetParent(hwnd_), &client);
    s.bounds = {0, 0, client.right, client.bottom};
  }
  Control::Rescale(s);
  SetPaddingForScale(true);
  FitTabRow(true);
  PlacePages();
}

TabPage* TabControl::ActivePage() const {
  return active_ >= 0 ? pages_[static_cast<std::size_t>(active_)] : nullptr;
}

void TabControl::SetActivePage(TabPage* page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  const int index = static_cast<int>(it - pages_.begin());
  SendMessageA(hwnd_, TCM_SETCURSEL, index, 0);
  for (std::size_t i = 0; i < pages_.size(); ++i)
    ShowWindow(pages_[i]->Handle(), static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
  active_ = index;
}

RECT TabControl::PageArea() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  SendMessageA(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

bool TabControl::HandleNotify(NMHDR* hdr, LRESULT* result) {
  if (hdr->code == TCN_SELCHANGE) {
    const int index = static_cast<int>(SendMessageA(hwnd_, TCM_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(pages_.size()))
      SetActivePage(pages_[static_cast<std::size_t>(index)]);
    *result = 0;
    return true;
  }
  return false;
}

TabPage::TabPage(Form& form, const ControlSpec& def, TabControl& owner)
    : Control(form, def), owner_(owner) {
  // Pages fill the tab control's page area whatever their stored bounds.
  const RECT area = owner.PageArea();
  def_.bounds = {area.left, area.top, area.right - area.left, area.bottom - area.top};
  Create(FrameworkWindowClass(), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
         owner.Handle(), def.caption ? def.caption : "");
}

// ---- PictureControl ----

PictureControl::PictureControl(Form& form, const ControlSpec& def, HWND parent)
    : Control(form, def) {
  Create(FrameworkWindowClass(), WS_CHILD | WS_VISIBLE, 0, parent, "");
}

PictureControl::~PictureControl() = default;

void PictureControl::SetPicture(std::unique_ptr<Graphic> picture) {
  picture_ = std::move(picture);
  at_scale_ = false;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureControl::LoadPicture(HMODULE module, const std::string& name) {
  module_ = module;
  resource_ = name;
  const Scale& scale = form_.DisplayScale();
  if (!scale.IsIdentity()) {
    const std::string scaled = name + "_" + std::to_string(scale.Percent());
    if (auto picture = LoadOptionalPictureResource(module, scaled.c_str())) {
      SetPicture(std::move(picture));
      at_scale_ = true;
      return;
    }
  }
  if (auto picture = LoadOptionalPictureResource(module, name.c_str()))
    SetPicture(std::move(picture));
}

void PictureControl::Rescale(const ControlSpec& scaled) {
  Control::Rescale(scaled);
  if (module_) LoadPicture(module_, resource_);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// The handlers' arithmetic is in the picture's own pixels: a device pixel
// belongs to the picture pixel whose scaled edges hold it.
POINT PictureControl::HandlerPosition(int x, int y) const {
  const Scale& scale = form_.DisplayScale();
  return {scale.ToLayout(x), scale.ToLayout(y)};
}

namespace {

// A 32-bit top-down DIB section selected into a memory DC, and its pixels.
struct DibSurface {
  MemoryBitmap memory;
  std::uint32_t* pixels = nullptr;
};

DibSurface MakeDibSurface(HDC compatible_with, int w, int h) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(compatible_with, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) throw EOutOfResources();
  DibSurface surface{MemoryBitmap(compatible_with), static_cast<std::uint32_t*>(bits)};
  surface.memory.Select(std::move(bitmap));
  return surface;
}

}  // namespace

// Each picture pixel x covers device pixels Edge(x) .. Edge(x + 1) - 1:
// one or two pixels wide at 150 %, so lines stay one colour, never blurred.
// The device pixel takes the colour of the picture pixel ToLayout gives,
// the same mapping the mouse handlers get.
void PictureControl::DrawThroughMemory(HDC dc, bool enlarge) {
  const Scale natural_scale;
  const Scale& scale = enlarge ? form_.DisplayScale() : natural_scale;
  const int w = picture_->Width(), h = picture_->Height();
  const int wide = scale.Edge(w), high = scale.Edge(h);
  DibSurface natural = MakeDibSurface(dc, w, h);
  RECT r = {0, 0, w, h};
  FillRect(natural.memory.dc(), &r, GetSysColorBrush(COLOR_BTNFACE));
  Canvas canvas(natural.memory.dc());
  picture_->Draw(canvas, r);
  GdiFlush();
  if (const auto& theme = Contrast()) {
    // The palette mapped, the glyphs unchanged.
    std::uint32_t* end = natural.pixels + static_cast<std::ptrdiff_t>(w) * h;
    for (std::uint32_t* p = natural.pixels; p != end; ++p) *p = ContrastPixel(*p, *theme);
  }
  if (!enlarge) {
    BitBlt(dc, 0, 0, w, h, natural.memory.dc(), 0, 0, SRCCOPY);
    return;
  }
  DibSurface big = MakeDibSurface(dc, wide, high);
  std::vector<int> from_x(static_cast<std::size_t>(wide));
  for (int x = 0; x < wide; ++x) from_x[static_cast<std::size_t>(x)] = scale.ToLayout(x);
  for (int y = 0; y < high; ++y) {
    const std::uint32_t* src = natural.pixels + static_cast<std::ptrdiff_t>(scale.ToLayout(y)) * w;
    std::uint32_t* dst = big.pixels + static_cast<std::ptrdiff_t>(y) * wide;
    for (int x = 0; x < wide; ++x) dst[x] = src[from_x[static_cast<std::size_t>(x)]];
  }
  BitBlt(dc, 0, 0, wide, high, big.memory.dc(), 0, 0, SRCCOPY);
}

bool PictureControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      if (picture_ && !picture_->Empty()) {
        const bool as_is = form_.DisplayScale().IsIdentity() || at_scale_;
        if (as_is && !Contrast()) {
          Canvas canvas(dc);
          const RECT r = {0, 0, picture_->Width(), picture_->Height()};
          Guarded([&] { picture_->Draw(canvas, r); });
        } else {
          Guarded([&] { DrawThroughMemory(dc, !as_is); });
        }
      }
      if (ShowsFocusCell()) DrawFocusCell(dc);
      EndPaint(hwnd_, &ps);
      *result = 0;
      return true;
    }
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_GETDLGCODE:
      // The arrows move the owner's cursor, Space picks: the dialog
      // navigation leaves them to the control.
      *result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      return true;
    case WM_SETFOCUS:
      FocusChanged(true);
      break;
    case WM_KILLFOCUS:
      FocusChanged(false);
      break;
    case WM_KEYDOWN:
      if (focused_ && !cues_) {
        cues_ = true;
        InvalidateFocusCell();
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      // Moves keep arriving while a button is held, also outside.
      SetCapture(hwnd_);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool any_held = (wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
      Control::HandleMessage(msg, wp, lp, result);
      if (!any_held && GetCapture() == hwnd_) ReleaseCapture();
      *result = 0;
      return true;
    }
    default:
      break;
  }
  return Control::HandleMessage(msg, wp, lp, result);
}

void PictureControl::SystemColorsChanged() {
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void PictureControl::SetFollowsHighContrast(bool on) {
  follows_contrast_ = on;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

const std::optional<ContrastColors>& PictureControl::Contrast() const {
  static const std::optional<ContrastColors> none;
  return follows_contrast_ ? form_.HighContrast() : none;
}

void PictureControl::FocusChanged(bool focused) {
  focused_ = focused;
  // Only a focus handed on by Tab shows at once; Wine reports the focus
  // cues as shown from the start, so WM_QUERYUISTATE cannot tell.
  cues_ = focused && form_.FocusMovingByKey();
  if (OnFocusChange) Guarded([&] { OnFocusChange(focused); });
  InvalidateFocusCell();
}

void PictureControl::SetFocusCell(const std::optional<RECT>& cell) {
  if (focus_cell_ && cell && EqualRect(&*focus_cell_, &*cell)) return;
  InvalidateFocusCell();
  focus_cell_ = cell;
  InvalidateFocusCell();
}

// The ring of device pixels just inside the cell's grid lines: the
// pictures keep their glyphs off the pixel next to a line.
RECT PictureControl::FocusRing() const {
  const Scale& scale = form_.DisplayScale();
  const RECT& c = *focus_cell_;
  return {scale.Edge(c.left + 1), scale.Edge(c.top + 1), scale.Edge(c.right), scale.Edge(c.bottom)};
}

// Only the cell is drawn again: a key held down repaints two cells per
// move, never the whole picture.
void PictureControl::InvalidateFocusCell() {
  if (!focus_cell_ || !hwnd_) return;
  const RECT ring = FocusRing();
  InvalidateRect(hwnd_, &ring, FALSE);
}

void PictureControl::DrawFocusCell(HDC dc) const {
  const auto& theme = Contrast();
  const COLORREF color = theme ? theme->focus : RGB(0, 0, 0);
  const RECT r = FocusRing();
  if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
  // Every other pixel, by its position in the window, as a focus
  // rectangle's dots lie; the pixels between keep the picture's.
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) SetPixelV(dc, x, y, color);
  };
  for (int x = r.left; x < r.right; ++x) {
    dot(x, r.top);
    dot(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    dot(r.left, y);
    dot(r.right - 1, y);
  }
}

// ---- IconControl ----

IconControl::IconControl(Form& form, const ControlSpec& def, HWND parent) : Control(form, def) {
  Create("STATIC", WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, 0, parent, "");
  if (def.picture) {
    // At its own size, not stretched to the control (a 33-pixel picture
    // control shows a 32-pixel icon in its top-left corner).
    HICON icon = static_cast<HICON>(LoadImageA(ModuleHandle(), def.picture, IMAGE_ICON, 0, 0, 0));
    icon_.reset(icon);
    // A system icon (such as the error icon) is shared and never destroyed.
    if (!icon)
      icon = static_cast<HICON>(LoadImageA(nullptr, def.picture, IMAGE_ICON, 0, 0, LR_SHARED));
    if (icon) SendMessageA(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
}

}  // namespace rf::fw
