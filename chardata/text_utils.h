// Small free functions on 8-bit texts shared by the loader, the hover
// display and the info dialog. None keeps state, shows a message or throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rf::chardata {

// Splits at every occurrence of the separator (searched as a whole):
// k occurrences give k + 1 items, empty ones included. An empty separator
// occurs nowhere, so the whole text is the single item.
void SplitText(std::string_view text, std::string_view separator, std::vector<std::string>& list);

// Item n (counting from 1) of SplitText; empty when n is out of range.
std::string ExtractField(std::string_view text, std::string_view separator, std::int32_t n);

// True when the number of single characters equal to the separator is
// `count`; a separator of any length but one matches nothing.
bool HasSeparatorCount(std::string_view text, std::string_view separator, std::int32_t count);

// Reads a number from the start of the text and never fails: leading
// blanks (code 32), then "$" and hex digits, or an optional sign and
// decimal digits; stops at the first other character; 0 without digits.
std::int32_t TextToNumber(std::string_view text);

// Replaces the first section sign (0xA7) by the value; without one the
// value goes in front.
std::string ExpandTemplate(std::string_view template_text, std::string_view value);

// Turns a text of hex pairs, the first being the starting offset, and a
// cyclic key into one character per further pair. Empty key: empty text.
std::string DecodeHexText(std::string_view hex_text, std::string_view key);

}  // namespace rf::chardata
