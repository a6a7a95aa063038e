#include "framework/fehler_dialog.h"

#include <algorithm>
#include <vector>

#include "framework/controls.h"
#include "framework/form.h"
#include "framework/gdi.h"

namespace rf::fw {
namespace {

// Size of a text in the dialog font, wrapped at a sensible width.
SIZE MeasureText(const std::string& text, HFONT font) {
  WindowDC dc(nullptr);
  SelectScope sel(dc.get(), font);
  RECT r = {0, 0, 360, 0};
  DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_LEFT | DT_NOPREFIX);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

FehlerAnswer ShowFehlerDialog(const std::string& text) {
  // The same font the dialog uses, to measure the text before building it.
  const UniqueFont font = MakeFont(kDialogFont);
  const SIZE size = MeasureText(text, font.get());
  const int text_left = 59;
  const int width = std::max(200, text_left + static_cast<int>(size.cx) + 16);
  const int text_height = std::max(32, static_cast<int>(size.cy));
  const int button_top = 16 + text_height + 14;
  const int height = button_top + 25 + 10;

  const std::vector<ControlSpec> layout = {
      {.name = "Image",
       .kind = ControlKind::Icon,
       .bounds = {16, 16, 32, 32},
       .picture = reinterpret_cast<const char*>(IDI_HAND)},
      {.name = "Message",
       .kind = ControlKind::Label,
       .bounds = {text_left, 16, static_cast<int>(size.cx) + 4, text_height},
       .caption = text.c_str(),
       .word_wrap = true},
      {.name = "OK",
       .kind = ControlKind::Button,
       .bounds = {(width - 75) / 2, button_top, 75, 25},
       .caption = "OK",
       .tab_order = 0,
       .modal_result = mrOk},
  };
  FormSpec def{.name = "MessageDlg",
               .caption = kFehlerCaption,
               .client_width = width,
               .client_height = height,
               .font = {kDialogFontName, kDialogFontHeight},
               .active_control = "OK",
               .default_button = "OK",
               .cancel_button = "OK",
               .system_menu = true};
  Form dialog(def, layout);
  SendMessageA(dialog.Get<Button>("OK").Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  MessageBeep(MB_ICONERROR);
  return dialog.ShowModal() == mrOk ? FehlerAnswer::Ok : FehlerAnswer::Closed;
}

}  // namespace rf::fw
