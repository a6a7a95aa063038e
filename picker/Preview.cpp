#include "picker/Preview.h"

#include <cstdio>

#include "chardata/char_store.h"
#include "chardata/free_text_store.h"
#include "framework/errorbox.h"
#include "picker/Hover.h"
#include "picker/preview_placement.h"

namespace rf::picker {

using chardata::TCharTableKind;

namespace {

constexpr UINT_PTR kRestTimer = 1;
// While open, the popup checks that its picture is still on show and the
// picker active: a tab change or a lost activation sends the picture no
// message of its own.
constexpr UINT_PTR kWatchTimer = 2;
constexpr UINT kWatchMs = 100;

constexpr int kPad = 6;
constexpr int kWidth = 220;
constexpr int kLine = 14;
constexpr int kHintFontHeight = 9;
constexpr const char* kHint = "Strg+F: Zeichen suchen";

}  // namespace

Preview::Preview(fw::Form& picker, CellGlyphs& glyphs)
    : fw::Control(picker, fw::ControlSpec{.name = "FrmVorschau"}),
      picker_(picker),
      glyphs_(glyphs) {
  // Layered and transparent together make the window invisible to hit
  // testing, so every click lands on the picture beneath.
  Create(fw::FrameworkWindowClass(), WS_POPUP | WS_BORDER,
         WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT, picker.Handle(),
         "");
  SetLayeredWindowAttributes(hwnd_, 0, 255, LWA_ALPHA);
}

void Preview::Track(HWND picture, TCharTableKind kind, int x, int y) {
  const std::optional<int> index = CellIndexAt(PictureOf(kind), x, y);
  if (!index || !chardata::TableEntryNotes(kind, *index).HasNumber) {
    Hide();
    return;
  }
  if (dismissed_ && dismissed_->picture == picture && dismissed_->index == *index) return;
  dismissed_.reset();
  const fw::Scale& s = picker_.DisplayScale();
  POINT pointer = {s.Edge(x), s.Edge(y)};
  ClientToScreen(picture, &pointer);
  const bool same_cell = target_ && target_->picture == picture && target_->index == *index;
  if (Showing()) {
    if (!same_cell) {
      target_ = Target{picture, kind, *index, pointer};
      Open();
    }
    return;
  }
  if (same_cell) return;  // resting on it: the timer runs on
  target_ = Target{picture, kind, *index, pointer};
  SetTimer(hwnd_, kRestTimer, kPreviewRestMs, nullptr);
}

void Preview::Hide() {
  KillTimer(hwnd_, kRestTimer);
  KillTimer(hwnd_, kWatchTimer);
  target_.reset();
  dismissed_.reset();
  if (Showing()) ShowWindow(hwnd_, SW_HIDE);
}

void Preview::Leave(HWND picture) {
  if (target_ && target_->picture != picture) return;
  Hide();
}

void Preview::Dismiss() {
  const std::optional<Target> pressed = target_;
  Hide();
  dismissed_ = pressed;
}

bool Preview::StillWanted() const {
  return target_ && IsWindowVisible(target_->picture) && GetActiveWindow() == picker_.Handle();
}

// At 96 DPI the sizes above; at a larger scale each of them scaled.
Preview::Parts Preview::Arrange(HDC dc) const {
  const fw::Scale& s = picker_.DisplayScale();
  const int pad = s.Edge(kPad), width = s.Edge(kWidth), line = s.Edge(kLine);
  Parts p{};
  const SIZE cell = glyphs_.CellSize(target_->kind, target_->index);
  p.glyph = {pad, pad, pad + cell.cx * kPreviewGlyphScale, pad + cell.cy * kPreviewGlyphScale};
  const int text_left = p.glyph.right + pad + s.Edge(2);
  p.number = {text_left, pad, width - pad, pad + line};
  p.entity = {text_left, p.number.bottom, width - pad, p.number.bottom + line};
  p.name = {pad, p.glyph.bottom + pad, width - pad, p.glyph.bottom + pad + line};
  {
    fw::SelectScope font(dc, name_font_.get());
    DrawTextA(dc, name_.c_str(), -1, &p.name, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  p.name.right = width - pad;
  p.hint = {pad, p.name.bottom + s.Edge(4), width - pad, p.name.bottom + s.Edge(4) + line};
  // The client area, plus the border of one pixel on each side.
  p.size = {width + 2, p.hint.bottom + s.Edge(kPad / 2) + 2};
  return p;
}

void Preview::MakeFonts() {
  const fw::Scale& s = picker_.DisplayScale();
  if (name_font_ && font_percent_ == s.Percent()) return;
  name_font_ = fw::MakeFont({.height = s.FontHeight(fw::kDialogFontHeight), .bold = true});
  hint_font_ = fw::MakeFont({.height = s.FontHeight(kHintFontHeight)});
  font_percent_ = s.Percent();
}

void Preview::Open() {
  if (!StillWanted()) {
    Hide();
    return;
  }
  const Target& t = *target_;
  const chardata::TEntryNotes& notes = chardata::TableEntryNotes(t.kind, t.index);
  name_ = std::string(chardata::FreeTextName(notes.FreeText.View()));
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(notes.Number));
  number_ = number;
  entity_ = chardata::TableEntry(t.kind, t.index).EntityRef.Str();
  // Its text, never drawn as a caption, tells drivers what it shows.
  SetWindowTextA(hwnd_, (name_ + "\n" + number_ + "\n" + entity_).c_str());

  MakeFonts();
  // The cell with its grid lines, in device pixels: the pointer may sit on
  // either.
  const fw::Scale& s = picker_.DisplayScale();
  const CellBox b = CellBounds(PictureOf(t.kind), t.index);
  POINT origin = {s.Edge(b.left), s.Edge(b.top)};
  ClientToScreen(t.picture, &origin);
  const ScreenRect cell = {origin.x, origin.y, origin.x + s.Edge(b.right + 1) - s.Edge(b.left),
                           origin.y + s.Edge(b.bottom + 1) - s.Edge(b.top)};
  MONITORINFO monitor = {sizeof monitor};
  GetMonitorInfoA(MonitorFromPoint(t.pointer, MONITOR_DEFAULTTONEAREST), &monitor);
  const ScreenRect work = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right,
                           monitor.rcWork.bottom};
  fw::WindowDC dc(hwnd_);
  const Parts parts = Arrange(dc.get());
  const ScreenRect at =
      PlacePreview(cell, {t.pointer.x, t.pointer.y}, parts.size.cx, parts.size.cy, work);
  SetWindowPos(hwnd_, HWND_TOP, at.left, at.top, at.Width(), at.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd_, nullptr, TRUE);
  SetTimer(hwnd_, kWatchTimer, kWatchMs, nullptr);
}

void Preview::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
  if (!target_) return;
  MakeFonts();
  const Parts p = Arrange(dc);
  RECT frame = p.glyph;
  InflateRect(&frame, 1, 1);
  FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
  glyphs_.Draw(dc, target_->kind, target_->index, p.glyph);

  const int old_mode = SetBkMode(dc, TRANSPARENT);
  fw::TextColorsScope colors(dc, GetSysColor(COLOR_INFOTEXT), GetSysColor(COLOR_INFOBK));
  RECT r = p.number;
  {
    fw::SelectScope font(dc, picker_.FontOf(picker_));
    DrawTextA(dc, number_.c_str(), -1, &r, DT_NOPREFIX | DT_SINGLELINE);
    r = p.entity;
    DrawTextA(dc, entity_.c_str(), -1, &r, DT_NOPREFIX | DT_SINGLELINE);
  }
  {
    fw::SelectScope font(dc, name_font_.get());
    r = p.name;
    DrawTextA(dc, name_.c_str(), -1, &r, DT_NOPREFIX | DT_WORDBREAK);
  }
  {
    fw::SelectScope font(dc, hint_font_.get());
    fw::TextColorsScope gray(dc, GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_INFOBK));
    r = p.hint;
    DrawTextA(dc, kHint, -1, &r, DT_NOPREFIX | DT_SINGLELINE);
  }
  SetBkMode(dc, old_mode);
}

bool Preview::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  switch (msg) {
    case WM_NCHITTEST:
      *result = HTTRANSPARENT;
      return true;
    case WM_MOUSEACTIVATE:
      *result = MA_NOACTIVATE;
      return true;
    case WM_TIMER:
      if (wp == kRestTimer) {
        KillTimer(hwnd_, kRestTimer);
        fw::Guarded([&] { Open(); });
      } else if (wp == kWatchTimer && !StillWanted()) {
        Hide();
      }
      *result = 0;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      fw::Guarded([&] { Paint(dc); });
      EndPaint(hwnd_, &ps);
      *result = 0;
      return true;
    }
    default:
      return fw::Control::HandleMessage(msg, wp, lp, result);
  }
}

}  // namespace rf::picker
