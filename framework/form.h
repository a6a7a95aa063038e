// A top-level dialog built from a layout table, shown modally with its
// own message loop or modelessly inside another's.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/gdi.h"
#include "framework/high_contrast.h"
#include "framework/layout.h"
#include "framework/scale.h"

namespace rf::fw {

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// Makes a control of a class the framework does not know by itself.
using ControlFactory =
    std::function<std::unique_ptr<Control>(Form& form, const ControlSpec& def, HWND parent)>;

class Form : public Control {
 public:
  Form(const FormSpec& def, std::span<const ControlSpec> layout);
  ~Form() override;

  // Runs the modal loop until a modal result is set and the close query
  // agrees; other top-level windows of the thread are disabled meanwhile.
  int ShowModal();
  void Show();  // modeless
  void Hide();
  // A close from the window system: a modal form ends with mrCancel.
  void Close();
  int GetModalResult() const { return modal_result_; }
  // Also wakes the modal loop, which may be waiting for a posted message
  // while a sent one set the result.
  void SetModalResult(int result) {
    modal_result_ = result;
    if (modal_ && hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);
  }
  bool IsModal() const { return modal_; }

  std::function<void()> OnCreate;      // after the controls exist (guarded)
  std::function<bool()> OnCloseQuery;  // true: may close (guarded; errors allow the close)
  std::function<void()> OnShow;
  std::function<void()> OnDestroy;
  // Sees every message of the form's windows before the dialog navigation;
  // true swallows it (keys that act anywhere in the form).
  std::function<bool(const MSG&)> OnPreTranslate;

  Control* Find(const std::string& name) const;
  template <typename T>
  T& Get(const std::string& name) const {
    auto* c = dynamic_cast<T*>(Find(name));
    if (!c) throw std::logic_error("No control " + name);
    return *c;
  }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  const FormSpec& Layout() const { return form_def_; }

  // The display scale the form was laid out for; the layout's 96-DPI
  // values are turned into device pixels by its rule.
  const Scale& DisplayScale() const { return scale_; }
  // A layout row as laid out at the form's scale.
  ControlSpec Scaled(const ControlSpec& def) const;
  // Lays the form out again for another scale (WM_DPICHANGED), in the
  // window rectangle given (screen coordinates), or centred on the old
  // one's centre where none is given.
  void Rescale(const Scale& scale, const RECT* window_rect);

  HFONT FontFor(const ControlSpec& def);
  HFONT FontOf(const Control& control);
  HFONT MakeFont(const FontSpec& font);

  // Runs the creation handler; the caller does it once the object is whole.
  void RunCreate();

  // Layouts name such classes in ControlSpec::class_name; a later
  // registration under the same name replaces the earlier one.
  static void RegisterControlClass(const std::string& class_name, ControlFactory factory);

  // Dialog navigation for every form of this thread (Tab, arrows, Enter on
  // a focused button); used by all message loops.
  static bool PreTranslate(MSG& msg);
  // The tab stops in the order Tab walks them.
  std::vector<HWND> TabSequence() const;
  void FocusNextTabStop(bool backwards);
  // True while Tab or Shift+Tab hands the focus on: a control that shows
  // its focus only to keyboard users asks it when the focus arrives.
  bool FocusMovingByKey() const { return focus_by_key_; }

  // The system's high-contrast colours while such a theme is on, read at
  // creation and again when the system's colours or settings change.
  const std::optional<ContrastColors>& HighContrast() const { return contrast_; }

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 private:
  void Build(std::span<const ControlSpec> layout);
  // The window's size for its client area at the form's scale.
  SIZE WindowSize() const;
  void Resize(const RECT* window_rect);
  HWND ParentHandleFor(const ControlSpec& def);
  void CloseModal();
  void CollectTabStops(HWND parent, std::vector<HWND>& out) const;

  FormSpec form_def_;
  std::vector<ControlSpec> layout_;  // as stored, at 96 DPI; one row per control
  Scale scale_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*> by_name_;
  std::map<std::string, UniqueFont> fonts_;
  UniqueIcon icon_big_, icon_small_;
  int modal_result_ = mrNone;
  bool modal_ = false;
  bool focus_by_key_ = false;
  std::optional<ContrastColors> contrast_;
};

}  // namespace rf::fw
