#include "framework/form.h"

#include <algorithm>
#include <set>

#include "framework/controls.h"
#include "framework/cursor.h"
#include "framework/dpi.h"
#include "framework/errorbox.h"
#include "framework/module.h"
#include "framework/theme.h"

namespace rf::fw {
namespace {

std::map<std::string, ControlFactory>& ControlClasses() {
  static std::map<std::string, ControlFactory> classes;
  return classes;
}

std::vector<Form*>& LiveForms() {
  static std::vector<Form*> forms;
  return forms;
}

struct DisabledWindows {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND hwnd, LPARAM lp) {
  auto* d = reinterpret_cast<DisabledWindows*>(lp);
  if (hwnd != d->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    d->windows.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

Form::Form(const FormSpec& def, std::span<const ControlSpec> layout)
    : Control(*this, ControlSpec{.name = def.name, .caption = def.caption}),
      form_def_(def),
      layout_(layout.begin(), layout.end()) {
  LiveForms().push_back(this);
  try {
    // Windows made now keep per-monitor awareness where the system has it,
    // so the form sees its monitor's DPI whatever the host is.
    const PerMonitorAwareness aware;
    Build(layout_);
  } catch (...) {
    std::erase(LiveForms(), this);
    if (hwnd_) DestroyWindow(hwnd_);
    throw;
  }
}

Form::~Form() {
  std::erase(LiveForms(), this);
  if (hwnd_) {
    if (OnDestroy) Guarded([&] { OnDestroy(); });
    DestroyWindow(hwnd_);
  }
  controls_.clear();
}

HFONT Form::MakeFont(const FontSpec& font) {
  const std::string key = std::string(font.name ? font.name : "") + "/" +
                          std::to_string(font.height) + (font.bold ? "b" : "") +
                          (font.underline ? "u" : "");
  auto& slot = fonts_[key];
  if (!slot) {
    // A layout that names no font or height gets the dialog font's.
    slot = fw::MakeFont({.name = font.name ? font.name : kDialogFontName,
                         .height = scale_.FontHeight(font.height ? font.height : kDialogFontHeight),
                         .bold = font.bold,
                         .underline = font.underline});
  }
  return slot.get();
}

HFONT Form::FontFor(const ControlSpec& def) {
  if (def.font.name) return MakeFont(def.font);
  if (def.parent) {
    if (Control* parent = Find(def.parent)) return FontOf(*parent);
  }
  return MakeFont(form_def_.font);
}

HFONT Form::FontOf(const Control& control) {
  if (&control == this) return MakeFont(form_def_.font);
  return FontFor(control.Layout());
}

HWND Form::ParentHandleFor(const ControlSpec& def) {
  if (!def.parent) return hwnd_;
  Control* parent = Find(def.parent);
  if (!parent) throw std::logic_error(std::string("No parent ") + def.parent);
  return parent->Handle();
}

void Form::Build(std::span<const ControlSpec> layout) {
  DWORD style = WS_POPUP | WS_CAPTION;
  if (form_def_.system_menu) style |= WS_SYSMENU;
  const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT r = {0, 0, form_def_.client_width, form_def_.client_height};
  AdjustWindowRectEx(&r, style, FALSE, ex_style);
  const int w = r.right - r.left, h = r.bottom - r.top;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  if (form_def_.centered) {
    x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  }
  def_.bounds = {x, y, w, h};
  Create(FrameworkWindowClass(), style, ex_style, nullptr, form_def_.caption);
  // The DPI belongs to the window's monitor, so it is known only now.
  scale_ = ScaleOfWindow(hwnd_);
  if (!scale_.IsIdentity()) Resize(nullptr);
  if (form_def_.icon) {
    icon_big_.reset(
        static_cast<HICON>(LoadImageA(ModuleHandle(), form_def_.icon, IMAGE_ICON, 32, 32, 0)));
    icon_small_.reset(static_cast<HICON>(LoadImageA(ModuleHandle(), form_def_.icon, IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), 0)));
    if (icon_big_)
      SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_big_.get()));
    if (icon_small_)
      SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_.get()));
  }

  contrast_ = CurrentHighContrast();
  std::set<HWND> parents_seen;
  for (const ControlSpec& stored : layout) {
    const ControlSpec def = Scaled(stored);
    std::unique_ptr<Control> control;
    HWND parent = ParentHandleFor(def);
    switch (def.kind) {
      case ControlKind::Label:
        control = std::make_unique<Label>(*this, def, parent);
        break;
      case ControlKind::Edit:
        control = std::make_unique<Edit>(*this, def, parent);
        break;
      case ControlKind::Button:
        control = std::make_unique<Button>(*this, def, parent);
        break;
      case ControlKind::GroupBox:
        control = std::make_unique<GroupBox>(*this, def, parent);
        break;
      case ControlKind::RadioGroup:
        control = std::make_unique<RadioGroup>(*this, def, parent);
        break;
      case ControlKind::Panel:
        control = std::make_unique<Panel>(*this, def, parent);
        break;
      case ControlKind::TabControl: {
        ControlSpec s = def;
        if (s.align_client) {
          RECT client;
          GetClientRect(parent, &client);
          s.bounds = {0, 0, client.right, client.bottom};
        }
        control = std::make_unique<TabControl>(*this, s, parent);
        break;
      }
      case ControlKind::TabPage: {
        auto* owner = dynamic_cast<TabControl*>(Find(def.parent ? def.parent : ""));
        if (!owner) throw std::logic_error(std::string("Page without tab control: ") + def.name);
        auto page = std::make_unique<TabPage>(*this, def, *owner);
        owner->AddPage(page.get());
        control = std::move(page);
        break;
      }
      case ControlKind::Picture:
        control = std::make_unique<PictureControl>(*this, def, parent);
        break;
      case ControlKind::Icon:
        control = std::make_unique<IconControl>(*this, def, parent);
        break;
      case ControlKind::Custom: {
        const auto it = ControlClasses().find(def.class_name ? def.class_name : "");
        if (it == ControlClasses().end())
          throw std::runtime_error(std::string("Class ") + (def.class_name ? def.class_name : "") +
                                   " not found");
        control = it->second(*this, def, parent);
        break;
      }
    }
    // Later controls lie above earlier ones (edits over a group box, a
    // panel over a tab row); the tab order is kept apart from z-order. A
    // parent's first control has no sibling to lie above: each move costs a
    // round trip to the window server.
    if (!parents_seen.insert(parent).second)
      SetWindowPos(control->Handle(), HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    by_name_[control->Name()] = control.get();
    controls_.push_back(std::move(control));
  }
  // Like stored properties, which are all read before any control hears
  // that loading is over.
  for (const auto& c : controls_) c->Loaded();
}

ControlSpec Form::Scaled(const ControlSpec& def) const {
  ControlSpec s = def;
  s.bounds = scale_.Apply(def.bounds);
  s.tab_row_height = scale_.Span(def.bounds.top, def.tab_row_height);
  return s;
}

SIZE Form::WindowSize() const {
  const Bounds client = scale_.Apply({0, 0, form_def_.client_width, form_def_.client_height});
  RECT r = {0, 0, client.width, client.height};
  AdjustWindowRectForDpi(r, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)),
                         static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)), scale_.Dpi());
  return {r.right - r.left, r.bottom - r.top};
}

// Without a rectangle, the window keeps its centre: a centred form stays
// centred on the screen.
void Form::Resize(const RECT* window_rect) {
  RECT r = {};
  if (window_rect) {
    r = *window_rect;
  } else {
    RECT now = {};
    GetWindowRect(hwnd_, &now);
    const SIZE size = WindowSize();
    r.left = (now.left + now.right - size.cx) / 2;
    r.top = (now.top + now.bottom - size.cy) / 2;
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
  }
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Rescale(const Scale& scale, const RECT* window_rect) {
  // The old fonts live until every window has been handed its new one.
  const auto old_fonts = std::move(fonts_);
  fonts_.clear();
  scale_ = scale;
  Resize(window_rect);
  // Parents come before their children in the layout, so each child is
  // placed in its parent's new client area.
  for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->Rescale(Scaled(layout_[i]));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// Appends the tab stops below a parent, depth first, in each parent's own
// tab order (containers are entered, the tab control itself is a stop and
// is followed by its active page).
void Form::CollectTabStops(HWND parent, std::vector<HWND>& out) const {
  std::vector<Control*> children;
  for (const auto& c : controls_)
    if (c->Handle() && GetParent(c->Handle()) == parent && c->Layout().tab_order >= 0)
      children.push_back(c.get());
  std::stable_sort(children.begin(), children.end(), [](Control* a, Control* b) {
    return a->Layout().tab_order < b->Layout().tab_order;
  });
  for (Control* c : children) {
    HWND h = c->Handle();
    if (!IsWindowVisible(h) || !IsWindowEnabled(h)) continue;
    switch (c->Layout().kind) {
      case ControlKind::RadioGroup: {
        auto* rg = static_cast<RadioGroup*>(c);
        if (rg->ItemCount() > 0 && c->Layout().tab_stop)
          out.push_back(rg->ItemHandle(rg->ItemIndex() >= 0 ? rg->ItemIndex() : 0));
        break;
      }
      case ControlKind::GroupBox:
      case ControlKind::Panel:
        CollectTabStops(h, out);
        break;
      case ControlKind::TabControl: {
        auto* tc = static_cast<TabControl*>(c);
        if (c->Layout().tab_stop) out.push_back(h);
        if (TabPage* page = tc->ActivePage()) CollectTabStops(page->Handle(), out);
        break;
      }
      case ControlKind::TabPage:
        CollectTabStops(h, out);
        break;
      default:
        if (c->Layout().tab_stop) out.push_back(h);
        break;
    }
  }
  // Pages are children of their tab control, which has no tab order among
  // its own children; walk the active page when asked for the control.
}

std::vector<HWND> Form::TabSequence() const {
  std::vector<HWND> out;
  CollectTabStops(hwnd_, out);
  return out;
}

void Form::FocusNextTabStop(bool backwards) {
  const auto sequence = TabSequence();
  if (sequence.empty()) return;
  HWND focus = GetFocus();
  auto it = std::find(sequence.begin(), sequence.end(), focus);
  std::size_t index = 0;
  if (it != sequence.end()) {
    const std::size_t at = static_cast<std::size_t>(it - sequence.begin());
    index = backwards ? (at + sequence.size() - 1) % sequence.size() : (at + 1) % sequence.size();
  } else if (backwards) {
    index = sequence.size() - 1;
  }
  HWND next = sequence[index];
  focus_by_key_ = true;
  ::SetFocus(next);
  focus_by_key_ = false;
  // A tabbed-to edit selects its text only where asked.
  if (Control* c = Control::FromHandle(next))
    if (c->Layout().kind == ControlKind::Edit && c->Layout().select_on_focus)
      SendMessageA(next, EM_SETSEL, 0, -1);
}

void Form::RegisterControlClass(const std::string& class_name, ControlFactory factory) {
  ControlClasses()[class_name] = std::move(factory);
}

void Form::RunCreate() {
  if (OnCreate) Guarded([&] { OnCreate(); });
}

Control* Form::Find(const std::string& name) const {
  const auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : it->second;
}

void Form::Show() {
  ShowWindow(hwnd_, SW_SHOW);
  if (form_def_.active_control)
    if (Control* c = Find(form_def_.active_control)) c->SetFocus();
  if (OnShow) Guarded([&] { OnShow(); });
}

void Form::Hide() {
  ShowWindow(hwnd_, SW_HIDE);
}

void Form::Close() {
  if (modal_) {
    modal_result_ = mrCancel;
    return;
  }
  bool may_close = true;
  if (OnCloseQuery) Guarded([&] { may_close = OnCloseQuery(); });
  if (may_close) Hide();
}

bool Form::PreTranslate(MSG& msg) {
  if (!msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  for (Form* f : LiveForms()) {
    if (f->hwnd_ != root) continue;
    if (f->OnPreTranslate) {
      bool swallowed = false;
      Guarded([&] { swallowed = f->OnPreTranslate(msg); });
      if (swallowed) return true;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000)) {
      f->FocusNextTabStop((GetKeyState(VK_SHIFT) & 0x8000) != 0);
      return true;
    }
    if (msg.message == WM_CHAR && msg.wParam == '\t') return true;
    return IsDialogMessageA(root, &msg) != FALSE;
  }
  return false;
}

int Form::ShowModal() {
  if (modal_) throw std::logic_error("Form is already modal");
  DisabledWindows disabled{hwnd_, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  for (HWND w : disabled.windows) EnableWindow(w, FALSE);
  modal_ = true;
  modal_result_ = mrNone;
  Show();
  SetForegroundWindow(hwnd_);
  bool quit = false;
  WPARAM quit_code = 0;
  for (;;) {
    if (modal_result_ != mrNone) {
      CloseModal();
      if (modal_result_ != mrNone) break;
    }
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quit_code = msg.wParam;
      modal_result_ = mrCancel;
      break;
    }
    if (got < 0) {
      modal_result_ = mrCancel;
      break;
    }
    if (!PreTranslate(msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (!IsWindow(hwnd_)) break;
  }
  modal_ = false;
  // From here on the thread reads no messages for these windows: screen
  // readers' objects of them fail at once rather than wait for it.
  for (const auto& c : controls_) c->EndAccessibility();
  // Give the host its windows back before this one disappears, so that
  // activation returns to them.
  for (HWND w : disabled.windows)
    if (IsWindow(w)) EnableWindow(w, TRUE);
  if (IsWindow(hwnd_)) Hide();
  if (quit) PostQuitMessage(static_cast<int>(quit_code));
  return modal_result_;
}

void Form::CloseModal() {
  bool may_close = true;
  if (OnCloseQuery) Guarded([&] { may_close = OnCloseQuery(); });
  if (!may_close) modal_result_ = mrNone;
}

bool Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  // Drivers (tests, the demo host's script) wait on this to know that
  // everything they posted before has been handled.
  static const UINT sync_message = RegisterWindowMessageA("RfSync");
  if (msg == sync_message) {
    if (lp) SetEvent(reinterpret_cast<HANDLE>(lp));
    *result = 0;
    return true;
  }
  switch (msg) {
    case WM_CLOSE:
      Guarded([&] { Close(); });
      *result = 0;
      return true;
    case WM_COMMAND:
      if (lp == 0 || !Control::FromHandle(reinterpret_cast<HWND>(lp))) {
        // Enter and Escape from the dialog navigation press the form's
        // default and cancel buttons, where it has them.
        const WORD id = LOWORD(wp);
        const char* name = id == IDOK       ? form_def_.default_button
                           : id == IDCANCEL ? form_def_.cancel_button
                                            : nullptr;
        if (name)
          if (auto* b = dynamic_cast<Button*>(Find(name))) b->Click();
        *result = 0;
        return true;
      }
      break;
    case WM_SETCURSOR:
      if (ApplyScreenCursor()) {
        *result = TRUE;
        return true;
      }
      break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // Only top-level windows hear of a theme change; the controls that
      // draw themselves are told here.
      // Any setting at all sends WM_SETTINGCHANGE: the controls repaint
      // only for a change of colours or of the theme.
      Guarded([&] {
        const auto now = CurrentHighContrast();
        if (msg != WM_SYSCOLORCHANGE && now == contrast_) return;
        contrast_ = now;
        for (const auto& c : controls_) c->SystemColorsChanged();
      });
      break;
    case kDpiChangedMessage:
      // A per-monitor aware form moved to a monitor of another DPI: laid
      // out again for it, in the rectangle the system suggests.
      Guarded([&] {
        Rescale(Scale(ScalePercentForDpi(HIWORD(wp))), reinterpret_cast<const RECT*>(lp));
      });
      *result = 0;
      return true;
    default:
      break;
  }
  return Control::HandleMessage(msg, wp, lp, result);
}

}  // namespace rf::fw
