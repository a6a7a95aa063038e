#include "info/NxHotLabelBase.h"

namespace rf::info {

void NxHotLabelBase::Construct() {
  FontAttributes font = LabelFont();
  font.color = kNavy;
  font.underline = true;
  SetLabelFont(font);
  highlight_font_ = font;
  highlight_font_.color = kRed;
  SetValidateURL(true);  // the URL is still empty, so this cannot fail
  caption_is_url_ = true;
  SetDefaultURL();
  highlight_url_ = false;
  hint_style_ = hsNormal;
  SetLabelCaption(url_);
}

void NxHotLabelBase::SetCaptionIsURL(bool value) {
  caption_is_url_ = value;
  if (value) SetCaption(std::string(url_));
}

void NxHotLabelBase::SetURL(const std::string& value) {
  if (!loading_) {
    if (validate_url_) CheckURL(value);
    if (caption_is_url_) SetCaption(value);
  }
  url_ = value;
}

void NxHotLabelBase::SetValidateURL(bool value) {
  validate_url_ = value;
  if (!value) return;
  try {
    CheckURL(url_);
  } catch (const ENxURLError&) {
    // An unacceptable URL gives way to the default one; the writer still
    // hears of the error.
    SetDefaultURL();
    throw;
  }
}

void NxHotLabelBase::SetCaption(const std::string& value) {
  if (caption_is_url_) {
    if (validate_url_ && !loading_) CheckURL(value);
    url_ = value;
  }
  SetLabelCaption(value);
}

std::string NxHotLabelBase::GetCaption() const {
  return LabelCaption();
}

FontAttributes NxHotLabelBase::GetFont() const {
  return highlighted_ ? normal_font_ : LabelFont();
}

void NxHotLabelBase::SetFont(const FontAttributes& font) {
  // Under the pointer the label shows the highlight font; the new font
  // appears when the pointer leaves.
  if (highlighted_)
    normal_font_ = font;
  else
    SetLabelFont(font);
}

void NxHotLabelBase::SetDefaultURL() {
  try {
    SetURL(std::string(kDefaultURL));
  } catch (const ENxURLError&) {
    SetURL(std::string());
  }
}

void NxHotLabelBase::CheckURL(const std::string& url) const {
  info::CheckURL(url);
}

void NxHotLabelBase::ReadProperties(const NxHotLabelProperties& stored) {
  loading_ = true;
  if (stored.caption_is_url) SetCaptionIsURL(*stored.caption_is_url);
  if (stored.highlight_font) SetHighlightFont(*stored.highlight_font);
  if (stored.highlight_url) SetHighlightURL(*stored.highlight_url);
  if (stored.hint_style) SetHintStyle(*stored.hint_style);
  if (stored.url) SetURL(*stored.url);
  if (stored.validate_url) SetValidateURL(*stored.validate_url);
  if (stored.caption) SetCaption(*stored.caption);
  if (stored.font) SetFont(*stored.font);
}

void NxHotLabelBase::Loaded() {
  loading_ = false;
  if (caption_is_url_) SetCaption(std::string(url_));
}

void NxHotLabelBase::PointerEntered() {
  if (!highlight_url_) return;
  normal_font_ = GetFont();
  highlighted_ = true;
  SetLabelFont(highlight_font_);
}

void NxHotLabelBase::PointerLeft() {
  // Whatever HighlightURL says now: a label left highlighted would keep the
  // highlight font for good and swallow every later font change.
  if (!highlighted_) return;
  SetLabelFont(normal_font_);
  highlighted_ = false;
}

void NxHotLabelBase::HintShowing(std::string& hint) {
  if (hint_style_ != hsCustom) return;
  std::string text = LabelHint();
  if (OnCustomHint) OnCustomHint(*this, text);
  hint = std::move(text);
}

void NxHotLabelBase::Clicked() {
  const std::string url = url_;
  if (LabelEnabled() && !url.empty()) {
    if (OpenURL(url) <= 32) throw ENxURLError(UrlMessage(kAccessMessage, url));
  }
  LabelClick();
}

}  // namespace rf::info
