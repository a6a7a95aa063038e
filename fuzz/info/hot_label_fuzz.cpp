// Drives a hot-link label's properties with arbitrary writes and checks
// what must always hold: only ENxURLError escapes, a refused write changes
// neither URL nor caption, and outside loading a caption that is the URL
// stays the URL.
#include <cstddef>
#include <cstdint>
#include <string>

#include "info/NxHotLabelBase.h"

namespace {

using rf::info::ENxURLError;
using rf::info::FontAttributes;
using rf::info::NxHotLabelBase;

class Label : public NxHotLabelBase {
 public:
  Label() { Construct(); }
  std::string caption;
  FontAttributes font;
  bool enabled = true;
  std::intptr_t shell = 42;

 protected:
  std::string LabelCaption() const override { return caption; }
  void SetLabelCaption(const std::string& text) override { caption = text; }
  FontAttributes LabelFont() const override { return font; }
  void SetLabelFont(const FontAttributes& f) override { font = f; }
  std::string LabelHint() const override { return "hint"; }
  bool LabelEnabled() const override { return enabled; }
  void LabelClick() override {}
  std::intptr_t OpenURL(const std::string&) override { return shell; }
};

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Label label;
  std::size_t at = 0;
  auto text = [&] {
    const std::size_t n = at < size ? data[at++] % 24 : 0;
    std::string s;
    for (std::size_t i = 0; i < n && at < size; ++i) s += static_cast<char>(data[at++]);
    return s;
  };
  while (at < size) {
    const std::uint8_t op = data[at++];
    const std::string url_before = label.URL(), caption_before = label.GetCaption();
    bool refused = false;
    try {
      switch (op % 12) {
        case 0:
          label.SetURL(text());
          break;
        case 1:
          label.SetCaption(text());
          break;
        case 2:
          label.SetCaptionIsURL(op & 0x10);
          break;
        case 3:
          label.SetValidateURL(op & 0x10);
          break;
        case 4:
          label.SetDefaultURL();
          break;
        case 5:
          label.SetHighlightURL(op & 0x10);
          break;
        case 6:
          label.PointerEntered();
          break;
        case 7:
          label.PointerLeft();
          break;
        case 8: {
          FontAttributes f = label.GetFont();
          f.height = op;
          label.SetFont(f);
          break;
        }
        case 9: {
          label.shell = op & 0x10 ? 33 : 32;
          label.enabled = op & 0x20;
          label.Clicked();
          break;
        }
        case 10: {
          rf::info::NxHotLabelProperties stored;
          if (op & 0x10) stored.caption_is_url = (op & 0x20) != 0;
          if (op & 0x40) stored.url = text();
          if (op & 0x80) stored.caption = text();
          label.ReadProperties(stored);
          break;
        }
        case 11:
          label.Loaded();
          break;
      }
    } catch (const ENxURLError&) {
      refused = true;
    }
    if (refused && (op % 12 == 0 || op % 12 == 1)) {
      Check(label.URL() == url_before);
      Check(label.GetCaption() == caption_before);
    }
    if (!refused && !label.Loading() && label.CaptionIsURL() &&
        (op % 12 == 0 || op % 12 == 1 || op % 12 == 2 || op % 12 == 11))
      Check(label.GetCaption() == label.URL());
  }
  return 0;
}
