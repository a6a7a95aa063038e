// Code page 1252, the system's ANSI code page here, against Unicode: the
// profile reader turns UTF-16 files into it as Windows does, the checker
// prints its texts as UTF-8.
#pragma once

#include <optional>

namespace rf::chardata {

// The five codes 1252 leaves unassigned map to the C1 controls of the same
// value, as Windows maps them.
char32_t Cp1252ToUnicode(unsigned char c);
// Nothing for a character 1252 cannot hold.
std::optional<unsigned char> UnicodeToCp1252(char32_t cp);

}  // namespace rf::chardata
