// What an entry's line says beyond its output forms: the free text before
// the first comma (the Unicode name, then keywords) and the number the
// line gives. Kept beside CharTables, like it in static storage, and
// overwritten only when a section parses, so the two always agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "chardata/char_table_kind.h"
#include "chardata/fixed_text.h"

namespace rf::chardata {

// The delivered file's longest free text is well below this; a longer one
// is cut like every other text of an entry.
inline constexpr std::size_t kFreeTextCapacity = 240;
// Between the parts of a free text: name | keyword | keyword ...
inline constexpr std::string_view kFreeTextSeparator = " | ";

struct TEntryNotes {
  FixedText<kFreeTextCapacity> FreeText;  // between "=" and the first comma
  std::int32_t Number = 0;                // TextToNumber of the number text
  bool HasNumber = false;                 // false when the number text is empty
};

// Same indexes as TableEntry.
TEntryNotes& TableEntryNotes(TCharTableKind kind, int index);

// The notes of one character line ("key=free text,number,...").
void ParseEntryNotes(std::string_view line, TEntryNotes& notes);

// All notes empty, as at module load; part of ResetStore.
void ResetEntryNotes();

// The first part of a free text: the character's name.
std::string_view FreeTextName(std::string_view free_text);

}  // namespace rf::chardata
