// A window of a dialog with the events its owner binds by name. Standard
// window classes are subclassed; all of them route their children's
// notifications back to the child's own object.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/layout.h"

namespace rf::fw {

class AccessibleSource;
class Form;
class HintWindow;
class WindowAccessibility;

enum class MouseButton { Left, Right, Middle };

class Control {
 public:
  Control(Form& form, const ControlSpec& def);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND Handle() const { return hwnd_; }
  const std::string& Name() const { return name_; }
  Form& OwnerForm() const { return form_; }
  const ControlSpec& Layout() const { return def_; }

  virtual std::string Text() const;
  virtual void SetText(const std::string& text);
  // Position and size relative to the parent's client area.
  RECT BoundsRect() const;
  void SetFocus();
  bool Visible() const;
  bool Enabled() const;
  // The tooltip text (shown when the layout asks for it).
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }

  // Events; each runs guarded (an escaping exception becomes the exception box).
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(MouseButton, int x, int y)> OnMouseDown;
  std::function<void(MouseButton, int x, int y)> OnMouseUp;
  std::function<void(WPARAM key)> OnKeyDown;
  std::function<void()> OnClick;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

  // What a screen reader is told about the window's client area
  // (WM_GETOBJECT); without a source the system's standard object answers.
  void SetAccessibleSource(std::unique_ptr<AccessibleSource> source);
  // Clients' objects of this window fail from now on, and no new ones are
  // made: its form has closed and no longer answers messages.
  void EndAccessibility();

  // The control object of a window made by this framework, or nullptr.
  static Control* FromHandle(HWND hwnd);

 protected:
  // Makes the window; a subclass calls it from its constructor.
  void Create(const char* window_class, DWORD style, DWORD ex_style, HWND parent,
              const std::string& caption);
  // Messages for this window; return true when handled (result in *result).
  virtual bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
  // A WM_COMMAND or WM_NOTIFY sent to the parent about this control.
  virtual void HandleCommand(WORD /*code*/) {}
  virtual bool HandleNotify(NMHDR* /*hdr*/, LRESULT* /*result*/) { return false; }
  // Brush for WM_CTLCOLOR* of this control; nullptr: default.
  virtual HBRUSH ColorBrush(HDC dc);
  // Runs once the form has built all its controls.
  virtual void Loaded() {}
  // The system's colours or its high-contrast theme may have changed.
  virtual void SystemColorsChanged() {}
  // Takes the layout row at the form's new scale: position, size, font.
  // Controls that size or arrange themselves do it again.
  virtual void Rescale(const ControlSpec& scaled);
  // The pointer position the mouse handlers are given, from the client
  // position of the message.
  virtual POINT HandlerPosition(int x, int y) const { return {x, y}; }
  // The hint about to be shown, filled from Hint(); a control may change it.
  virtual void HintShow(std::string& /*hint*/) {}
  LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);
  // Routes children's notifications; used by every container.
  bool RouteChildMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

  Form& form_;
  ControlSpec def_;
  std::string name_;
  HWND hwnd_ = nullptr;
  WNDPROC original_proc_ = nullptr;  // nullptr for the framework's own classes
  bool tracking_mouse_ = false;
  std::string hint_;
  std::unique_ptr<HintWindow> hint_window_;
  std::unique_ptr<WindowAccessibility> accessibility_;

  friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);
  friend class Form;

 private:
  bool HandleMouse(UINT msg, WPARAM wp, LPARAM lp);
};

// The framework's own window class for containers and custom controls.
const char* FrameworkWindowClass();

}  // namespace rf::fw
