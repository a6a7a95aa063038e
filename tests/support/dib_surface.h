// A 32-bit top-down DIB section selected into a memory DC: a canvas whose
// pixels the Windows drawing tests can read back directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace rf::test {

class DibSurface {
 public:
  DibSurface(int w, int h, COLORREF paper = RGB(1, 2, 3))
      : w_(w), h_(h), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
    Fill(paper);
  }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;
  ~DibSurface() {
    if (dc_ != nullptr) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  // Deletes the DC while the bitmap lives on (a canvas that goes away).
  void DeleteDCNow() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }
  void Fill(COLORREF c) {
    GdiFlush();
    for (int i = 0; i < w_ * h_; ++i)
      bits_[i] = GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16;
  }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const std::uint32_t v = bits_[y * w_ + x];
    return RGB((v >> 16) & 255, (v >> 8) & 255, v & 255);
  }
  std::vector<COLORREF> Row(int y) const {
    std::vector<COLORREF> out;
    for (int x = 0; x < w_; ++x) out.push_back(At(x, y));
    return out;
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace rf::test
