// Letter case folding of code page 1252 texts, as Windows compares the
// names in profile files.
#pragma once

#include <string>
#include <string_view>

namespace rf::chardata {

char FoldCase(char c);
std::string FoldCase(std::string_view text);

// Letters A to Z only: the Windows profile functions (as Wine has them)
// tell upper-half letters of different case apart.
std::string FoldAsciiCase(std::string_view text);
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace rf::chardata
