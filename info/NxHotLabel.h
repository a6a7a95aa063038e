// TNxHotLabel: a label that behaves as a link. It shows the hand cursor,
// may swap to its highlight font under the pointer, offers a custom hint
// and asks the Windows shell to open its URL when clicked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls.h"
#include "framework/gdi.h"
#include "info/NxHotLabelBase.h"

namespace rf::info {

// The one place the module asks the shell to open a link (the file's
// default action, shown normally); greater than 32 on success.
std::intptr_t ShellOpenURL(HWND owner, const std::string& url);

class TNxHotLabel : public fw::Label, public NxHotLabelBase {
 public:
  using ShellOpener = std::function<std::intptr_t(HWND owner, const std::string& url)>;

  // Builds the label, then reads its stored properties (ControlSpec::
  // properties, an NxHotLabelProperties) while loading.
  TNxHotLabel(fw::Form& form, const fw::ControlSpec& def, HWND parent);

  using fw::Label::SetFont;
  using NxHotLabelBase::SetFont;

  // How clicks reach the shell; tests put a recorder here.
  ShellOpener shell_opener = ShellOpenURL;

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void HandleCommand(WORD code) override;
  void Loaded() override;
  void Rescale(const fw::ControlSpec& scaled) override;
  void HintShow(std::string& hint) override;

  std::string LabelCaption() const override;
  void SetLabelCaption(const std::string& text) override;
  FontAttributes LabelFont() const override;
  void SetLabelFont(const FontAttributes& font) override;
  std::string LabelHint() const override;
  bool LabelEnabled() const override;
  void LabelClick() override;
  std::intptr_t OpenURL(const std::string& url) override;

 private:
  FontAttributes font_;
  fw::UniqueFont font_handle_;
};

// Loads the hand cursor "HOTLABEL_HANDCUR" of the module and enters it in
// the cursor table as HandCursorId, replacing an earlier entry.
void RegisterHandCursor();
// Makes "TNxHotLabel" known to the framework's layouts, with the cursor.
void RegisterNxHotLabel();

}  // namespace rf::info
