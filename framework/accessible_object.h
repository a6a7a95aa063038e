// What a window tells a screen reader through Microsoft Active
// Accessibility: a hand-written IAccessible over a small source the window's
// owner gives, answering WM_GETOBJECT for the window's client area.
//
// The object lives while anyone holds it, the window only while it is
// shown: on the window's destruction it is disconnected, and every later
// call answers RPC_E_DISCONNECTED. The source is asked only on the window's
// thread and only while the window lives (calls from other threads are
// sent there), so it may refer to the controls freely.
//
// A host thread without COM has the module keep the process's
// multithreaded apartment in use (CoIncrementMTAUsage) from the first
// request on, so clients' calls never wait for that thread once the window
// has gone. oleacc, ole32 and oleaut32 are loaded on the first WM_GETOBJECT and kept
// for the module's life: the module imports none of them, and a user
// without a screen reader never loads them.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace rf::fw {

// Child 0 is the window itself (CHILDID_SELF), children 1 .. ChildCount()
// its simple elements. Nothing as an answer hands the question to the
// window's standard object (CreateStdAccessibleObject). Texts are in the
// ANSI code page, as every text of the module.
class AccessibleSource {
 public:
  virtual ~AccessibleSource() = default;
  virtual std::optional<int> ChildCount() { return std::nullopt; }
  virtual std::optional<long> Role(int /*child*/) { return std::nullopt; }
  virtual std::optional<std::string> Name(int /*child*/) { return std::nullopt; }
  virtual std::optional<std::string> Value(int /*child*/) { return std::nullopt; }
  virtual std::optional<std::string> Description(int /*child*/) { return std::nullopt; }
  virtual std::optional<long> State(int /*child*/) { return std::nullopt; }
  // On the screen in device pixels; right and bottom exclusive.
  virtual std::optional<RECT> Location(int /*child*/) { return std::nullopt; }
  // The child at a screen point, 0 for the window itself, -1 outside it.
  virtual std::optional<int> HitTest(POINT /*screen*/) { return std::nullopt; }
  // The child a NAVDIR_* step from `from` reaches; 0 for none.
  virtual std::optional<int> Navigate(int /*from*/, long /*direction*/) { return std::nullopt; }
  // The child with the keyboard focus, 0 for the window itself, -1 none.
  virtual std::optional<int> FocusedChild() { return std::nullopt; }
};

class AccessibleObject;

// The accessible side of one window, owned by its control.
class WindowAccessibility {
 public:
  WindowAccessibility(HWND window, std::unique_ptr<AccessibleSource> source);
  ~WindowAccessibility();
  WindowAccessibility(const WindowAccessibility&) = delete;
  WindowAccessibility& operator=(const WindowAccessibility&) = delete;

  // WM_GETOBJECT: true where answered (OBJID_CLIENT), with the result.
  bool Answer(WPARAM wp, LPARAM lp, LRESULT* result);
  // The window is going: every client's later call fails, and no new
  // object is made.
  void Disconnect();

 private:
  HWND window_;
  bool closed_ = false;
  std::unique_ptr<AccessibleSource> source_;
  AccessibleObject* object_ = nullptr;  // one reference held
};

// Runs a call that a client's thread sent to the window's thread; every
// framework window hands the registered message here.
bool IsAccessibleCall(UINT msg);
LRESULT RunAccessibleCall(LPARAM lp);

}  // namespace rf::fw
