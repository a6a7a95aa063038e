#include "framework/control.h"

#include <windowsx.h>

#include <mutex>
#include <unordered_map>

#include "framework/accessible_object.h"
#include "framework/cursor.h"
#include "framework/errorbox.h"
#include "framework/form.h"
#include "framework/hint_window.h"
#include "framework/module.h"

namespace rf::fw {
namespace {

// The control's name, readable by anything in the process (test drivers
// find controls by the names of the layout).
constexpr const char* kNameProp = "RfName";
constexpr const char* kClassName = "RfWindow";
int g_next_id = 100;  // below 100 lie IDOK and IDCANCEL, which keys send

// Every message looks up its control: a window property would cost a trip
// to the window server each time under Wine, this map costs nothing of it.
struct ControlRegistry {
  std::mutex lock;
  std::unordered_map<HWND, Control*> by_handle;
};

ControlRegistry& Registry() {
  static ControlRegistry registry;
  return registry;
}

void Register(HWND hwnd, Control* control) {
  auto& r = Registry();
  const std::lock_guard guard(r.lock);
  r.by_handle[hwnd] = control;
}

void Unregister(HWND hwnd) {
  auto& r = Registry();
  const std::lock_guard guard(r.lock);
  r.by_handle.erase(hwnd);
}

}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* control = static_cast<Control*>(cs->lpCreateParams);
    if (control) {
      control->hwnd_ = hwnd;
      Register(hwnd, control);
      SetPropA(hwnd, kNameProp, const_cast<char*>(control->name_.c_str()));
    }
  }
  Control* control = Control::FromHandle(hwnd);
  if (control) {
    LRESULT result = 0;
    if (control->HandleMessage(msg, wp, lp, &result)) return result;
    if (msg == WM_NCDESTROY) {
      Unregister(hwnd);
      RemovePropA(hwnd, kNameProp);
      control->hwnd_ = nullptr;
    }
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Control* control = Control::FromHandle(hwnd);
  if (!control) return DefWindowProcA(hwnd, msg, wp, lp);
  WNDPROC original = control->original_proc_;
  LRESULT result = 0;
  if (control->HandleMessage(msg, wp, lp, &result)) return result;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    Unregister(hwnd);
    RemovePropA(hwnd, kNameProp);
    control->hwnd_ = nullptr;
  }
  return CallWindowProcA(original, hwnd, msg, wp, lp);
}

const char* FrameworkWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = ModuleHandle();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
  return kClassName;
}

Control::Control(Form& form, const ControlSpec& def)
    : form_(form), def_(def), name_(def.name ? def.name : ""), hint_(def.hint ? def.hint : "") {}

Control::~Control() {
  hint_window_.reset();
  if (hwnd_) {
    HWND h = hwnd_;
    DestroyWindow(h);
  }
}

void Control::SetAccessibleSource(std::unique_ptr<AccessibleSource> source) {
  accessibility_ = std::make_unique<WindowAccessibility>(hwnd_, std::move(source));
}

void Control::EndAccessibility() {
  if (accessibility_) accessibility_->Disconnect();
}

Control* Control::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& r = Registry();
  const std::lock_guard guard(r.lock);
  const auto it = r.by_handle.find(hwnd);
  return it == r.by_handle.end() ? nullptr : it->second;
}

void Control::Create(const char* window_class, DWORD style, DWORD ex_style, HWND parent,
                     const std::string& caption) {
  const bool own_class = std::string(window_class) == kClassName;
  const Bounds& b = def_.bounds;
  const int id = g_next_id++;
  HWND hwnd = CreateWindowExA(
      ex_style, window_class, caption.c_str(), style, b.left, b.top, b.width, b.height, parent,
      parent && (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
      ModuleHandle(), own_class ? this : nullptr);
  if (!hwnd) throw std::runtime_error("Cannot create window " + name_);
  if (!own_class) {
    hwnd_ = hwnd;
    Register(hwnd, this);
    SetPropA(hwnd, kNameProp, const_cast<char*>(name_.c_str()));
    original_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  }
  // The framework's own windows draw with the font their layout names and
  // ignore WM_SETFONT, as the system's default handling does: not sent.
  if (!own_class)
    if (HFONT font = form_.FontFor(def_))
      SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (def_.show_hint)
    hint_window_ = std::make_unique<HintWindow>(hwnd, [this] {
      std::string hint = hint_;
      Guarded([&] { HintShow(hint); });
      return hint;
    });
}

std::string Control::Text() const {
  const int n = GetWindowTextLengthA(hwnd_);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(hwnd_, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

void Control::SetText(const std::string& text) {
  SetWindowTextA(hwnd_, text.c_str());
}

RECT Control::BoundsRect() const {
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  HWND parent = GetParent(hwnd_);
  if (parent && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Control::SetFocus() {
  ::SetFocus(hwnd_);
}

bool Control::Visible() const {
  return IsWindowVisible(hwnd_) != FALSE;
}

bool Control::Enabled() const {
  return IsWindowEnabled(hwnd_) != FALSE;
}

LRESULT Control::CallDefault(UINT msg, WPARAM wp, LPARAM lp) {
  if (original_proc_) return CallWindowProcA(original_proc_, hwnd_, msg, wp, lp);
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

HBRUSH Control::ColorBrush(HDC /*dc*/) {
  return nullptr;
}

bool Control::RouteChildMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_COMMAND: {
      Control* child = FromHandle(reinterpret_cast<HWND>(lp));
      if (child && child != this) {
        child->HandleCommand(HIWORD(wp));
        *result = 0;
        return true;
      }
      return false;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      Control* child = FromHandle(hdr->hwndFrom);
      return child && child != this && child->HandleNotify(hdr, result);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT: {
      Control* child = FromHandle(reinterpret_cast<HWND>(lp));
      HDC dc = reinterpret_cast<HDC>(wp);
      HBRUSH brush = child ? child->ColorBrush(dc) : nullptr;
      if (!brush) {
        // Edits are white, read-only ones too; everything else has the
        // dialog's face colour (also the radio items, which have no object).
        const bool edit = child && child->Layout().kind == ControlKind::Edit;
        const int color = edit ? COLOR_WINDOW : COLOR_BTNFACE;
        SetBkColor(dc, GetSysColor(color));
        if (edit) SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        brush = GetSysColorBrush(color);
      }
      *result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    default:
      return false;
  }
}

void Control::Rescale(const ControlSpec& scaled) {
  def_ = scaled;
  const Bounds& b = def_.bounds;
  SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  // As at creation: only the system's classes take a font.
  if (original_proc_)
    if (HFONT font = form_.FontFor(def_))
      SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool Control::HandleMouse(UINT msg, WPARAM /*wp*/, LPARAM lp) {
  const POINT at = HandlerPosition(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
  const int x = at.x;
  const int y = at.y;
  auto button = MouseButton::Left;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!tracking_mouse_) {
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, hwnd_, 0};
        tracking_mouse_ = TrackMouseEvent(&tme) != FALSE;
        if (OnMouseEnter) Guarded([&] { OnMouseEnter(); });
      }
      if (OnMouseMove) Guarded([&] { OnMouseMove(x, y); });
      return false;
    case WM_MOUSELEAVE:
      tracking_mouse_ = false;
      if (OnMouseLeave) Guarded([&] { OnMouseLeave(); });
      return false;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      button = MouseButton::Right;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      button = MouseButton::Middle;
      break;
    default:
      break;
  }
  if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN) {
    if (OnMouseDown) Guarded([&] { OnMouseDown(button, x, y); });
  } else if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP) {
    if (OnMouseUp) Guarded([&] { OnMouseUp(button, x, y); });
  }
  return false;
}

bool Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (RouteChildMessage(msg, wp, lp, result)) return true;
  if (hint_window_) {
    if (msg == WM_NOTIFY && hint_window_->HandleNotify(lp, result)) return true;
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP ||
        msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP)
      hint_window_->Relay(msg, wp, lp);
  }
  switch (msg) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return HandleMouse(msg, wp, lp);
    case WM_KEYDOWN:
      if (OnKeyDown) Guarded([&] { OnKeyDown(wp); });
      return false;
    case WM_GETOBJECT:
      return accessibility_ && accessibility_->Answer(wp, lp, result);
    case WM_DESTROY:
      // Clients that still hold the object get errors from now on.
      if (accessibility_) accessibility_->Disconnect();
      return false;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd_ || GetParent(reinterpret_cast<HWND>(wp)) == hwnd_) {
        if (ApplyScreenCursor()) {
          *result = TRUE;
          return true;
        }
        if (def_.cursor != 0 && LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd_) {
          if (HCURSOR c = CursorById(def_.cursor)) {
            SetCursor(c);
            *result = TRUE;
            return true;
          }
        }
      }
      return false;
    default:
      if (IsAccessibleCall(msg)) {
        *result = RunAccessibleCall(lp);
        return true;
      }
      return false;
  }
}

}  // namespace rf::fw
