// The output texts of one character, each of fixed capacity.
#pragma once

#include <cstdint>

#include "chardata/fixed_text.h"

namespace rf::chardata {

struct TCharEntry {
  std::uint8_t Code = 0;    // the line's key, modulo 256
  FixedText<7> DecRef;      // "&#" number ";"
  FixedText<4> DecDigits;   // number ";"
  FixedText<8> HexRef;      // "&#x" hex ";"
  FixedText<4> HexDigits;   // hex ";"
  FixedText<10> EntityRef;  // "&" name ";"
  FixedText<8> EntityName;  // name ";"
  FixedText<30> User1;
  FixedText<30> User2;
  FixedText<30> User3;
};

}  // namespace rf::chardata
