#include "framework/gdi.h"

#include <algorithm>
#include <cstdint>

namespace rf::fw {

std::string EOutOfResources::SystemMessage() {
  const DWORD code = GetLastError();
  if (code != 0) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (n != 0 && text) {
      std::string message(text, n);
      LocalFree(text);
      while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                  message.back() == '.' || message.back() == ' '))
        message.pop_back();
      if (!message.empty()) return message;
    }
  }
  return "Out of system resources";
}

UniqueDC MakeMemoryDC(HDC compatible_with) {
  HDC dc = CreateCompatibleDC(compatible_with);
  if (!dc) throw EOutOfResources();
  return UniqueDC(dc);
}

UniquePalette MakePalette(std::span<const PALETTEENTRY> entries) {
  if (entries.empty()) return UniquePalette();
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * entries.size());
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = static_cast<WORD>(entries.size());
  std::copy(entries.begin(), entries.end(), log->palPalEntry);
  return UniquePalette(CreatePalette(log));
}

std::vector<PALETTEENTRY> PaletteEntries(HPALETTE palette) {
  const UINT count = palette != nullptr ? GetPaletteEntries(palette, 0, 0, nullptr) : 0;
  std::vector<PALETTEENTRY> entries(count);
  if (count > 0) GetPaletteEntries(palette, 0, count, entries.data());
  return entries;
}

MemoryBitmap::MemoryBitmap(HDC compatible_with) : dc_(MakeMemoryDC(compatible_with)) {}

MemoryBitmap::MemoryBitmap(HDC compatible_with, int w, int h) : MemoryBitmap(compatible_with) {
  Select(UniqueBitmap(CreateCompatibleBitmap(compatible_with, w, h)));
}

void MemoryBitmap::Select(UniqueBitmap bitmap) {
  if (!bitmap) throw EOutOfResources();
  if (old_ != nullptr) SelectObject(dc_.get(), std::exchange(old_, nullptr));
  bitmap_ = std::move(bitmap);
  old_ = SelectObject(dc_.get(), bitmap_.get());
}

}  // namespace rf::fw

namespace rf::fw {

UniqueFont MakeFont(const FontDescription& font) {
  // A negative height asks for the character height, not the cell height.
  HFONT made =
      CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                  font.italic ? TRUE : FALSE, font.underline ? TRUE : FALSE,
                  font.strike_out ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.name);
  if (!made) throw EOutOfResources();
  return UniqueFont(made);
}

}  // namespace rf::fw
