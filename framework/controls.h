// The kinds of controls the dialogs are built from.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/gdi.h"
#include "framework/graphic.h"
#include "framework/high_contrast.h"

namespace rf::fw {

class Label : public Control {
 public:
  Label(Form& form, const ControlSpec& def, HWND parent);
  void SetText(const std::string& text) override;
  // Text colour and font can change at run time (link labels).
  void SetTextColor(COLORREF color);
  void SetFont(HFONT font);
  COLORREF TextColor() const { return color_; }

 protected:
  HBRUSH ColorBrush(HDC dc) override;
  void Rescale(const ControlSpec& scaled) override;
  void Repaint();

 private:
  void FitHeight();
  void FitSize();
  COLORREF color_;
};

class Edit : public Control {
 public:
  Edit(Form& form, const ControlSpec& def, HWND parent);
  // Caret to the end, nothing selected.
  void MoveCaretToEnd();

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class Button : public Control {
 public:
  Button(Form& form, const ControlSpec& def, HWND parent);
  void Click();

 protected:
  void HandleCommand(WORD code) override;
};

class GroupBox : public Control {
 public:
  GroupBox(Form& form, const ControlSpec& def, HWND parent);

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class RadioGroup : public Control {
 public:
  RadioGroup(Form& form, const ControlSpec& def, HWND parent);
  int ItemIndex() const;
  void SetItemIndex(int index);
  int ItemCount() const { return static_cast<int>(buttons_.size()); }
  std::string ItemCaption(int index) const;
  void SetItemCaption(int index, const std::string& caption);
  HWND ItemHandle(int index) const { return buttons_.at(index); }

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void Rescale(const ControlSpec& scaled) override;

 private:
  void Arrange();
  std::vector<HWND> buttons_;
};

class Panel : public Control {
 public:
  Panel(Form& form, const ControlSpec& def, HWND parent);

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

class TabPage;

class TabControl : public Control {
 public:
  TabControl(Form& form, const ControlSpec& def, HWND parent);
  void AddPage(TabPage* page);
  const std::vector<TabPage*>& Pages() const { return pages_; }
  TabPage* ActivePage() const;
  void SetActivePage(TabPage* page);
  // The page area inside the tabs and the border.
  RECT PageArea() const;

 protected:
  bool HandleNotify(NMHDR* hdr, LRESULT* result) override;
  void Rescale(const ControlSpec& scaled) override;

 private:
  // exact: also lowers a row that is taller than asked (a row fitted
  // before at another scale); else only raises a lower one.
  void FitTabRow(bool exact);
  void PlacePages();
  void SetPaddingForScale(bool also_at_100);
  std::vector<TabPage*> pages_;
  int active_ = -1;
};

class TabPage : public Control {
 public:
  TabPage(Form& form, const ControlSpec& def, TabControl& owner);
  TabControl& Owner() const { return owner_; }
  std::string Caption() const { return def_.caption; }

 protected:
  // Placed by its tab control, whatever the layout says.
  void Rescale(const ControlSpec& scaled) override { def_ = scaled; }

 private:
  TabControl& owner_;
};

// Shows a picture at its natural size at the top-left corner, and
// reports the mouse (capturing it while a button is held). On a scaled
// form the picture is enlarged by whole device pixels, each of its pixels
// covering the device pixels between its scaled edges (crisp, never
// smoothed), and the handlers get positions in the picture's own pixels.
class PictureControl : public Control {
 public:
  PictureControl(Form& form, const ControlSpec& def, HWND parent);
  ~PictureControl() override;
  void SetPicture(std::unique_ptr<Graphic> picture);
  Graphic* Picture() const { return picture_.get(); }
  // The module's picture resource drawn for the form's scale
  // ("<name>_<percent>"), else the 100 % one ("<name>"), shown enlarged;
  // loaded again when the form changes its scale. A missing resource
  // leaves the control empty.
  void LoadPicture(HMODULE module, const std::string& name);

  // A keyboard cursor of the owner's: a cell in picture pixels (right and
  // bottom exclusive, from its own grid lines to the next), drawn as a
  // dotted rectangle inside those lines while the control has the focus
  // and a key has brought it there or been pressed since. The focus comes
  // by Tab only: a click never gives it.
  void SetFocusCell(const std::optional<RECT>& cell);
  // A picture of black and silver (the character tables) takes a
  // high-contrast theme's colours; artwork keeps its own.
  void SetFollowsHighContrast(bool on);
  bool ShowsFocusCell() const { return focused_ && cues_ && focus_cell_.has_value(); }
  std::function<void(bool focused)> OnFocusChange;

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
  void Rescale(const ControlSpec& scaled) override;
  POINT HandlerPosition(int x, int y) const override;
  void SystemColorsChanged() override;

 private:
  // Drawn into memory first: to enlarge it, or to map it to a
  // high-contrast theme.
  void DrawThroughMemory(HDC dc, bool enlarge);
  RECT FocusRing() const;  // device pixels, right and bottom exclusive
  void InvalidateFocusCell();
  void DrawFocusCell(HDC dc) const;
  void FocusChanged(bool focused);
  std::unique_ptr<Graphic> picture_;
  std::optional<RECT> focus_cell_;
  bool focused_ = false;
  bool cues_ = false;  // a key brought the focus or was pressed since
  bool follows_contrast_ = false;
  // The theme's colours while it is on and the picture follows it.
  const std::optional<ContrastColors>& Contrast() const;
  bool at_scale_ = false;  // drawn for the form's scale: shown as it is
  HMODULE module_ = nullptr;
  std::string resource_;
};

class IconControl : public Control {
 public:
  IconControl(Form& form, const ControlSpec& def, HWND parent);

 private:
  UniqueIcon icon_;
};

}  // namespace rf::fw
