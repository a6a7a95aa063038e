// The hot-link label's behaviour apart from its window: the properties and
// their write rules, the loading state, the highlight under the pointer,
// the custom hint and the click that hands the URL to the shell. The window
// class (TNxHotLabel) supplies the plain label underneath through the
// protected hooks; tests supply a fake.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "framework/dialog_font.h"
#include "info/NxUrlRules.h"

namespace rf::info {

enum TNxHLHintStyle : std::uint8_t { hsNormal = 0, hsURL = 1, hsCustom = 2 };

// Number of the hand cursor in the application's cursor table, and every
// hot-link label's default cursor.
inline constexpr int HandCursorId = 25355;
inline constexpr const char* kHandCursorResource = "HOTLABEL_HANDCUR";

// RGB as Windows keeps colours: red in the low byte.
constexpr std::uint32_t MakeColor(int red, int green, int blue) {
  return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
         (static_cast<std::uint32_t>(blue) << 16);
}
inline constexpr std::uint32_t kNavy = MakeColor(0, 0, 128);
inline constexpr std::uint32_t kRed = MakeColor(255, 0, 0);

// The attributes of a font object, as copying one font into another takes
// them over.
struct FontAttributes {
  std::string name = fw::kDialogFontName;
  int height = fw::kDialogFontHeight;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  std::uint32_t color = 0;
  friend bool operator==(const FontAttributes&, const FontAttributes&) = default;
};

// Properties stored with a form, read back through the write rules while
// the form is built; an unset entry keeps what the constructor set.
struct NxHotLabelProperties {
  std::optional<bool> caption_is_url;
  std::optional<FontAttributes> highlight_font;
  std::optional<bool> highlight_url;
  std::optional<TNxHLHintStyle> hint_style;
  std::optional<std::string> url;
  std::optional<bool> validate_url;
  std::optional<std::string> caption;
  std::optional<FontAttributes> font;
};

class NxHotLabelBase {
 public:
  using CustomHintEvent = std::function<void(NxHotLabelBase& sender, std::string& hint)>;

  NxHotLabelBase(const NxHotLabelBase&) = delete;
  NxHotLabelBase& operator=(const NxHotLabelBase&) = delete;
  virtual ~NxHotLabelBase() = default;

  bool CaptionIsURL() const { return caption_is_url_; }
  void SetCaptionIsURL(bool value);
  const FontAttributes& HighlightFont() const { return highlight_font_; }
  void SetHighlightFont(const FontAttributes& font) { highlight_font_ = font; }
  bool HighlightURL() const { return highlight_url_; }
  void SetHighlightURL(bool value) { highlight_url_ = value; }
  TNxHLHintStyle HintStyle() const { return hint_style_; }
  void SetHintStyle(TNxHLHintStyle value) { hint_style_ = value; }
  const std::string& URL() const { return url_; }
  void SetURL(const std::string& value);
  bool ValidateURL() const { return validate_url_; }
  void SetValidateURL(bool value);
  CustomHintEvent OnCustomHint;

  virtual void SetCaption(const std::string& value);
  virtual std::string GetCaption() const;
  virtual FontAttributes GetFont() const;
  virtual void SetFont(const FontAttributes& font);
  virtual void SetDefaultURL();
  // Returns normally for an acceptable URL, raises ENxURLError otherwise.
  virtual void CheckURL(const std::string& url) const;

  bool Highlighted() const { return highlighted_; }
  const FontAttributes& NormalFont() const { return normal_font_; }
  bool Loading() const { return loading_; }

  // Reading stored properties: each goes through its write rule with the
  // loading state set; the after-loading step (Loaded) ends it.
  void ReadProperties(const NxHotLabelProperties& stored);
  void Loaded();

  // Notifications from the window.
  void PointerEntered();
  void PointerLeft();
  // The hint about to be shown, already filled from the label's hint.
  void HintShowing(std::string& hint);
  // Raises ENxURLError when the shell cannot open the URL.
  void Clicked();

 protected:
  NxHotLabelBase() = default;
  // The constructor's steps that need the label underneath; the window
  // class calls it once its label exists.
  void Construct();

  // The plain label underneath.
  virtual std::string LabelCaption() const = 0;
  virtual void SetLabelCaption(const std::string& text) = 0;
  virtual FontAttributes LabelFont() const = 0;
  virtual void SetLabelFont(const FontAttributes& font) = 0;
  virtual std::string LabelHint() const = 0;
  virtual bool LabelEnabled() const = 0;
  // The base click processing: runs the label's click event, if any.
  virtual void LabelClick() = 0;
  // Asks the shell to open the URL; its result, greater than 32 on success.
  virtual std::intptr_t OpenURL(const std::string& url) = 0;

 private:
  bool validate_url_ = false;
  std::string url_;
  bool caption_is_url_ = false;
  FontAttributes highlight_font_;
  bool highlight_url_ = false;
  TNxHLHintStyle hint_style_ = hsNormal;
  FontAttributes normal_font_;
  bool highlighted_ = false;
  bool loading_ = false;
};

}  // namespace rf::info
