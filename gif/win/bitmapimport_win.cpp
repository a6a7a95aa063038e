#include "gif/win/bitmapimport_win.h"

#include <cstring>
#include <functional>
#include <vector>

#include "framework/gdi.h"
#include "framework/graphic.h"
#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

namespace {

Palette FromEntries(const PALETTEENTRY* entries, int count) {
  Palette p;
  for (int i = 0; i < count; ++i)
    p.push_back({entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags});
  return p;
}

Palette PaletteOf(HPALETTE palette) {
  PALETTEENTRY entries[256];
  UINT n = GetPaletteEntries(palette, 0, 256, entries);
  return FromEntries(entries, static_cast<int>(n));
}

struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

// A 32-bit top-down DIB section filled with one colour, selected into a
// memory DC: the canvas icons and metafiles are drawn on.
class DrawingSurface {
 public:
  DrawingSurface(int width, int height, COLORREF fill)
      : width_(width), height_(height), surface_(nullptr) {
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_RGB;
    fw::UniqueBitmap bitmap(CreateDIBSection(surface_.dc(), reinterpret_cast<BITMAPINFO*>(&info),
                                             DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                             nullptr, 0));
    if (bits_ == nullptr) bitmap.reset();
    surface_.Select(std::move(bitmap));
    const std::uint32_t pixel = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    std::uint32_t* p = reinterpret_cast<std::uint32_t*>(bits_);
    std::fill(p, p + static_cast<std::size_t>(width) * height, pixel);
  }
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;

  HDC DC() const { return surface_.dc(); }
  // The pixels as a 24-bit bitmap (blue, green, red).
  PixelBitmap Pixels() const {
    GdiFlush();
    PixelBitmap out(width_, height_, 24);
    for (int y = 0; y < height_; ++y) {
      std::uint8_t* dst = out.ScanLine(y);
      const std::uint8_t* src = bits_ + static_cast<std::size_t>(y) * width_ * 4;
      for (int x = 0; x < width_; ++x) std::memcpy(dst + x * 3, src + x * 4, 3);
    }
    return out;
  }

 private:
  int width_;
  int height_;
  fw::MemoryBitmap surface_;
  std::uint8_t* bits_ = nullptr;
};

ReductionSettings PlatformSettings(const TGIFSubImage& frame);

// A picture drawn at its size on white and on black: the frame gets what
// was drawn on white, and the pixels that differ stay transparent.
void AssignDrawn(TGIFSubImage& frame, int width, int height,
                 const std::function<void(HDC, const RECT&)>& draw) {
  const RECT area{0, 0, width, height};
  DrawingSurface on_white(width, height, RGB(255, 255, 255));
  DrawingSurface on_black(width, height, RGB(0, 0, 0));
  draw(on_white.DC(), area);
  draw(on_black.DC(), area);
  const PixelBitmap white = on_white.Pixels();
  const PixelBitmap black = on_black.Pixels();
  AssignBitmap(frame, white, PlatformSettings(frame));
  std::vector<std::uint8_t> transparent(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      transparent[static_cast<std::size_t>(y) * width + x] =
          std::memcmp(white.ScanLine(y) + x * 3, black.ScanLine(y) + x * 3, 3) != 0;
  ApplyTransparency(frame, transparent);
}

ReductionSettings PlatformSettings(const TGIFSubImage& frame) {
  ReductionSettings s = frame.Image() ? ReductionSettingsOf(*frame.Image()) : ReductionSettings{};
  s.system = PlatformPalettes();
  return s;
}

}  // namespace

SystemPalettes PlatformPalettes() {
  SystemPalettes p;
  if (auto stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE))) {
    Palette def = PaletteOf(stock);
    if (def.size() == 20) p.default_palette = std::move(def);
  }
  fw::UniquePalette halftone;
  try {
    fw::WindowDC screen(nullptr);
    halftone.reset(CreateHalftonePalette(screen.get()));
  } catch (const fw::EOutOfResources&) {
    // No screen: the fixed halftone table stays.
  }
  if (halftone) {
    Palette ht = PaletteOf(halftone.get());
    if (!ht.empty()) p.halftone_palette = std::move(ht);
  }
  return p;
}

PixelBitmap ReadBitmapHandle(HBITMAP bitmap, HPALETTE palette) {
  BITMAP bm{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof bm, &bm) == 0)
    throw GIFException(msg::kBitmapNotValid);
  const int depth = bm.bmBitsPixel * bm.bmPlanes;
  if (!PixelBitmap::IsSupportedDepth(depth)) throw GIFException(msg::kUnsupportedBitmapFormat);
  if (bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  const int bits = depth <= 8 ? depth : 24;

  fw::WindowDC screen(nullptr);
  fw::PaletteScope selected(screen.get(), palette);

  DibInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = bm.bmWidth;
  info.header.biHeight = -bm.bmHeight;  // top-down rows
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  info.header.biCompression = BI_RGB;
  PixelBitmap out(bm.bmWidth, bm.bmHeight, bits);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(out.Stride()) * bm.bmHeight);
  const int lines = GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), data.data(),
                              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  for (int y = 0; y < bm.bmHeight && lines > 0; ++y)
    std::memcpy(out.ScanLine(y), data.data() + static_cast<std::size_t>(y) * out.Stride(),
                static_cast<std::size_t>(out.Stride()));
  if (lines == 0) throw GIFException(msg::kBitmapNotValid);
  if (bits <= 8) {
    int used = info.header.biClrUsed != 0 ? static_cast<int>(info.header.biClrUsed) : 1 << bits;
    used = std::min(used, 1 << bits);
    Palette colors;
    for (int i = 0; i < used; ++i)
      colors.push_back({info.colors[i].rgbRed, info.colors[i].rgbGreen, info.colors[i].rgbBlue, 0});
    out.SetPalette(std::move(colors));
  }
  return out;
}

void AssignBitmapHandle(TGIFSubImage& frame, HBITMAP bitmap, HPALETTE palette) {
  if (bitmap == nullptr) {
    frame.Clear();
    return;
  }
  AssignBitmap(frame, ReadBitmapHandle(bitmap, palette), PlatformSettings(frame));
}

void AssignIcon(TGIFSubImage& frame, HICON icon) {
  if (icon == nullptr) {
    frame.Clear();
    return;
  }
  ICONINFO ii{};
  if (!GetIconInfo(icon, &ii)) throw GIFException(msg::kBitmapNotValid);
  fw::UniqueBitmap color(ii.hbmColor);
  fw::UniqueBitmap mask_bitmap(ii.hbmMask);
  BITMAP bm{};
  if (!mask_bitmap || GetObjectA(mask_bitmap.get(), sizeof bm, &bm) == 0)
    throw GIFException(msg::kBitmapNotValid);
  const int width = bm.bmWidth;
  // A monochrome icon keeps its AND and XOR halves in one bitmap of twice
  // the height.
  const int height = color ? bm.bmHeight : bm.bmHeight / 2;
  if (width <= 0 || height <= 0) {
    frame.Clear();
    return;
  }
  DrawingSurface surface(width, height, RGB(0, 0, 0));
  DrawIconEx(surface.DC(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  AssignBitmap(frame, surface.Pixels(), PlatformSettings(frame));

  // Mask bit 1: the screen shows through.
  PixelBitmap mask = ReadBitmapHandle(mask_bitmap.get());
  std::vector<std::uint8_t> transparent(static_cast<std::size_t>(width) * height);
  std::vector<std::uint8_t> row;
  for (int y = 0; y < height; ++y) {
    mask.ReadRow(y, 24, row);
    for (int x = 0; x < width; ++x)
      transparent[static_cast<std::size_t>(y) * width + x] =
          row[static_cast<std::size_t>(x) * 3] != 0;
  }
  ApplyTransparency(frame, transparent);
}

void AssignMetafile(TGIFSubImage& frame, HENHMETAFILE metafile) {
  if (metafile == nullptr) {
    frame.Clear();
    return;
  }
  ENHMETAHEADER header{};
  if (GetEnhMetaFileHeader(metafile, sizeof header, &header) == 0)
    throw GIFException(msg::kBitmapNotValid);
  const int width = header.rclBounds.right - header.rclBounds.left + 1;
  const int height = header.rclBounds.bottom - header.rclBounds.top + 1;
  if (width <= 0 || height <= 0 || header.rclBounds.right < header.rclBounds.left) {
    frame.Clear();
    return;
  }
  AssignDrawn(frame, width, height,
              [&](HDC dc, const RECT& area) { PlayEnhMetaFile(dc, metafile, &area); });
}

void AssignGraphic(TGIFSubImage& frame, fw::Graphic& graphic) {
  if (graphic.Empty()) {
    frame.Clear();
    return;
  }
  AssignDrawn(frame, graphic.Width(), graphic.Height(), [&](HDC dc, const RECT& area) {
    fw::Canvas canvas(dc);
    graphic.Draw(canvas, area);
  });
}

void LoadBitmapFromClipboard(TGIFImage& image) {
  if (!OpenClipboard(nullptr)) throw GIFException(msg::kUnsupportedClipboardFormat);
  struct Closer {
    ~Closer() { CloseClipboard(); }
  } closer;
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (bitmap == nullptr) throw GIFException(msg::kUnsupportedClipboardFormat);
  auto palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
  image.Clear();
  auto frame = std::make_unique<TGIFSubImage>(&image);
  AssignBitmapHandle(*frame, bitmap, palette);
  if (frame->Empty()) return;
  image.Header().Descriptor().Width = frame->Descriptor().Width;
  image.Header().Descriptor().Height = frame->Descriptor().Height;
  image.Images().Add(std::move(frame));
}

}  // namespace rf::gif
