#include "framework/gdi.h"

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
