// The standard dialog font of the module's forms, boxes and link labels.
// Kept apart from gdi.h because portable code (the hot-link label's font
// properties) names it too and never includes windows.h.
#pragma once

namespace rf::fw {

inline constexpr const char* kDialogFontName = "MS Sans Serif";
inline constexpr int kDialogFontHeight = 11;  // character height in pixels

}  // namespace rf::fw
