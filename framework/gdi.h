// RAII owners of GDI and USER handles: whoever makes a system object
// releases it, on every path.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace rf::fw {

// Raised when the system cannot make a drawing object.
class EOutOfResources : public std::runtime_error {
 public:
  EOutOfResources() : std::runtime_error(SystemMessage()) {}
  explicit EOutOfResources(const std::string& m) : std::runtime_error(m) {}

 private:
  static std::string SystemMessage();
};

template <typename H, BOOL(WINAPI* Release)(H)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~UniqueHandle() { reset(); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (h_) Release(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

template <typename H>
BOOL WINAPI FreeGdiObject(H h) {
  return DeleteObject(h);
}

using UniqueBitmap = UniqueHandle<HBITMAP, FreeGdiObject<HBITMAP>>;
using UniqueFont = UniqueHandle<HFONT, FreeGdiObject<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, FreeGdiObject<HBRUSH>>;
using UniquePalette = UniqueHandle<HPALETTE, FreeGdiObject<HPALETTE>>;
using UniqueDC = UniqueHandle<HDC, DeleteDC>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;

// Makes a memory DC compatible with another, or raises EOutOfResources.
UniqueDC MakeMemoryDC(HDC compatible_with);

// Selects an object into a DC for a scope and puts the old one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's DC for a scope.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {
    if (!dc_) throw EOutOfResources();
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() { ReleaseDC(wnd_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

}  // namespace rf::fw

// ---------------------------------------------------------------------------
// Fonts: every font the module makes comes from one description.

#include "framework/dialog_font.h"

namespace rf::fw {

struct FontDescription {
  const char* name = kDialogFontName;
  int height = kDialogFontHeight;  // character height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
};

inline constexpr FontDescription kDialogFont{};

// Raises EOutOfResources when the system cannot make the font.
UniqueFont MakeFont(const FontDescription& font);

}  // namespace rf::fw
