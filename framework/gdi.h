// RAII owners of GDI and USER handles: whoever makes a system object
// releases it, on every path.
#pragma once

#include <windows.h>

#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// The system's stock default palette.
inline HPALETTE DefaultPalette() {
  return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
}

// A logical palette of the entries; none for no entries or when the system
// cannot make one (the caller decides whether that is an error).
UniquePalette MakePalette(std::span<const PALETTEENTRY> entries);
// The entries of a logical palette (none for nullptr).
std::vector<PALETTEENTRY> PaletteEntries(HPALETTE palette);

// Selects a palette into a DC and realizes it for a scope, then selects the
// old one back. A null palette leaves the DC as it is.
class PaletteScope {
 public:
  PaletteScope(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette != nullptr) {
      old_ = SelectPalette(dc, palette, FALSE);
      RealizePalette(dc);
    }
  }
  PaletteScope(const PaletteScope&) = delete;
  PaletteScope& operator=(const PaletteScope&) = delete;
  ~PaletteScope() {
    if (old_ != nullptr) SelectPalette(dc_, old_, FALSE);
  }

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

// A stretch mode for a scope. COLORONCOLOR, the default, keeps whole pixels
// of stretched colour pictures rather than AND-ing them.
class StretchModeScope {
 public:
  explicit StretchModeScope(HDC dc, int mode = COLORONCOLOR)
      : dc_(dc), old_(SetStretchBltMode(dc, mode)) {}
  StretchModeScope(const StretchModeScope&) = delete;
  StretchModeScope& operator=(const StretchModeScope&) = delete;
  ~StretchModeScope() {
    if (old_ != 0) SetStretchBltMode(dc_, old_);
  }

 private:
  HDC dc_;
  int old_;
};

// Text and background colour for a scope: the colours a monochrome source
// takes in a blit to a colour DC.
class TextColorsScope {
 public:
  TextColorsScope(HDC dc, COLORREF text, COLORREF back)
      : dc_(dc), old_text_(SetTextColor(dc, text)), old_back_(SetBkColor(dc, back)) {}
  TextColorsScope(const TextColorsScope&) = delete;
  TextColorsScope& operator=(const TextColorsScope&) = delete;
  ~TextColorsScope() {
    SetTextColor(dc_, old_text_);
    SetBkColor(dc_, old_back_);
  }

 private:
  HDC dc_;
  COLORREF old_text_;
  COLORREF old_back_;
};

// A memory DC with a bitmap selected into it. Freeing selects the DC's own
// bitmap back, then deletes the DC and the bitmap. Empty when default made.
class MemoryBitmap {
 public:
  MemoryBitmap() = default;
  // A bitmap compatible with the DC, w × h; raises EOutOfResources.
  MemoryBitmap(HDC compatible_with, int w, int h);
  // The DC alone, for a bitmap made from it (a DIB section) and handed to
  // Select.
  explicit MemoryBitmap(HDC compatible_with);
  // Takes the bitmap and selects it; raises EOutOfResources for none.
  void Select(UniqueBitmap bitmap);
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  MemoryBitmap(MemoryBitmap&& o) noexcept { *this = std::move(o); }
  MemoryBitmap& operator=(MemoryBitmap&& o) noexcept {
    if (this != &o) {
      reset();
      dc_ = std::move(o.dc_);
      bitmap_ = std::move(o.bitmap_);
      old_ = std::exchange(o.old_, nullptr);
    }
    return *this;
  }
  ~MemoryBitmap() { reset(); }

  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  explicit operator bool() const { return static_cast<bool>(dc_); }
  void reset() {
    if (dc_ && old_ != nullptr) SelectObject(dc_.get(), old_);
    old_ = nullptr;
    dc_.reset();
    bitmap_.reset();
  }

 private:
  UniqueDC dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// A window's DC for a scope (the screen's for nullptr); raises
// EOutOfResources when there is none.
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
