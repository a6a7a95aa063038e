// The kinds of controls the dialogs are built from.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/control.h"
#include "framework/gdi.h"
#include "framework/graphic.h"

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

 private:
  void FitTabRow();
  std::vector<TabPage*> pages_;
  int active_ = -1;
};

class TabPage : public Control {
 public:
  TabPage(Form& form, const ControlSpec& def, TabControl& owner);
  TabControl& Owner() const { return owner_; }
  std::string Caption() const { return def_.caption; }

 private:
  TabControl& owner_;
};

// Shows a picture at its natural size at the top-left corner, and
// reports the mouse (capturing it while a button is held).
class PictureControl : public Control {
 public:
  PictureControl(Form& form, const ControlSpec& def, HWND parent);
  ~PictureControl() override;
  void SetPicture(std::unique_ptr<Graphic> picture);
  Graphic* Picture() const { return picture_.get(); }

 protected:
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

 private:
  std::unique_ptr<Graphic> picture_;
};

class IconControl : public Control {
 public:
  IconControl(Form& form, const ControlSpec& def, HWND parent);

 private:
  UniqueIcon icon_;
};

}  // namespace rf::fw
