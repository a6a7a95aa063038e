#include "info/NxHotLabel.h"

#include <shellapi.h>

#include "framework/cursor.h"
#include "framework/errorbox.h"
#include "framework/form.h"
#include "framework/module.h"

namespace rf::info {
namespace {

FontAttributes AttributesOf(const fw::FontSpec& def) {
  FontAttributes f;
  if (def.name) f.name = def.name;
  if (def.height) f.height = def.height;
  f.bold = def.bold;
  f.underline = def.underline;
  f.color = def.color;
  return f;
}

}  // namespace

std::intptr_t ShellOpenURL(HWND owner, const std::string& url) {
  return reinterpret_cast<std::intptr_t>(
      ShellExecuteA(owner, nullptr, url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

void RegisterHandCursor() {
  if (HCURSOR hand = LoadCursorA(fw::ModuleHandle(), kHandCursorResource))
    fw::RegisterCursor(HandCursorId, hand);
}

void RegisterNxHotLabel() {
  RegisterHandCursor();
  fw::Form::RegisterControlClass("TNxHotLabel",
                                 [](fw::Form& form, const fw::ControlSpec& def, HWND parent) {
                                   return std::make_unique<TNxHotLabel>(form, def, parent);
                                 });
}

TNxHotLabel::TNxHotLabel(fw::Form& form, const fw::ControlSpec& def, HWND parent)
    : fw::Label(form, def, parent),
      font_(AttributesOf(def.font.name ? def.font : form.Layout().font)) {
  RegisterHandCursor();
  def_.cursor = HandCursorId;
  Construct();
  if (def.properties) ReadProperties(*static_cast<const NxHotLabelProperties*>(def.properties));
}

bool TNxHotLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg == WM_MOUSEMOVE) {
    const bool inside = tracking_mouse_;
    const bool handled = fw::Label::HandleMessage(msg, wp, lp, result);
    if (!inside && tracking_mouse_) fw::Guarded([&] { PointerEntered(); });
    return handled;
  }
  if (msg == WM_MOUSELEAVE) {
    const bool handled = fw::Label::HandleMessage(msg, wp, lp, result);
    fw::Guarded([&] { PointerLeft(); });
    return handled;
  }
  return fw::Label::HandleMessage(msg, wp, lp, result);
}

void TNxHotLabel::HandleCommand(WORD code) {
  // A failed link is reported in an error box; the dialog stays open.
  if (code == STN_CLICKED) fw::Guarded([&] { Clicked(); });
}

void TNxHotLabel::Loaded() {
  NxHotLabelBase::Loaded();
}

void TNxHotLabel::Rescale(const fw::ControlSpec& scaled) {
  fw::Label::Rescale(scaled);
  // The form's font went in first; the label's own one, at the new scale.
  SetLabelFont(font_);
}

void TNxHotLabel::HintShow(std::string& hint) {
  HintShowing(hint);
}

std::string TNxHotLabel::LabelCaption() const {
  return Text();
}

void TNxHotLabel::SetLabelCaption(const std::string& text) {
  fw::Label::SetText(text);
}

FontAttributes TNxHotLabel::LabelFont() const {
  return font_;
}

void TNxHotLabel::SetLabelFont(const FontAttributes& font) {
  // The properties keep the 96-DPI height; the font is made for the
  // dialog's scale.
  fw::UniqueFont next = fw::MakeFont({.name = font.name.c_str(),
                                      .height = OwnerForm().DisplayScale().FontHeight(font.height),
                                      .bold = font.bold,
                                      .italic = font.italic,
                                      .underline = font.underline,
                                      .strike_out = font.strike_out});
  fw::Label::SetTextColor(font.color);
  fw::Label::SetFont(next.get());
  // The old font goes only once the window no longer uses it.
  font_handle_ = std::move(next);
  font_ = font;
}

std::string TNxHotLabel::LabelHint() const {
  return Hint();
}

bool TNxHotLabel::LabelEnabled() const {
  return Enabled();
}

void TNxHotLabel::LabelClick() {
  if (OnClick) OnClick();
}

std::intptr_t TNxHotLabel::OpenURL(const std::string& url) {
  return shell_opener ? shell_opener(OwnerForm().Handle(), url)
                      : ShellOpenURL(OwnerForm().Handle(), url);
}

}  // namespace rf::info
