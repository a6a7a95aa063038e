// Letter case folding of code page 1252 texts, as Windows compares the
// names in profile files.
#pragma once

#include <string>
#include <string_view>

namespace rf::chardata {

char FoldCase(char c);
std::string FoldCase(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace rf::chardata
