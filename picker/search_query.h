// Finding characters by what an HTML author knows of them: words of the
// name and keywords, the entity name, a numeric reference or the
// character itself. Portable (rf_picker_portable): it reads the store and
// its notes and knows nothing of windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chardata/char_table_kind.h"

namespace rf::picker {

// How well a row matched; rows come sorted by it, then in table order.
enum class MatchRank : int {
  kExact,         // the entity name as written, the number, the character itself
  kEntityFolded,  // the entity name in another letter case
  kWords,         // every word is the start of a word of the name or keywords
};

struct SearchRow {
  chardata::TCharTableKind kind;
  int index;  // the cell, as TableEntry counts
  MatchRank rank;
};

// One row per character (entries with the same number are one character),
// in the table on show when that table holds it, else in the first table
// that does. The query is a code page 1252 text of any length.
std::vector<SearchRow> FindCharacters(std::string_view query, chardata::TCharTableKind shown);

// The row's texts: the name (first part of the free text), the entity
// reference, and where it lies ("ISO 8859-1, Zelle 14").
std::string RowName(const SearchRow& row);
std::string RowEntity(const SearchRow& row);
std::string RowWhere(const SearchRow& row);
// The table's name as its tab shows it ("ISO 8859-1", "CP 437").
std::string_view TableCaption(chardata::TCharTableKind kind);

// Letters to lower-case ASCII without accents (ß to ss), every other
// character to a space: how query and free texts are compared.
std::string FoldForSearch(std::string_view text);

}  // namespace rf::picker
