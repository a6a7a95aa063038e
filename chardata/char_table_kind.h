// The twenty character tables, in the order of the store, of the
// configuration file's sections and of their messages.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace rf::chardata {

enum TCharTableKind : int {
  ctANSI,
  ctISO8859_1,
  ctISO8859_2,
  ctISO8859_3,
  ctISO8859_4,
  ctISO8859_5,
  ctISO8859_6,
  ctISO8859_7,
  ctISO8859_8,
  ctISO8859_9,
  ctISO8859_10,
  ctISO8859_11,
  ctISO8859_13,
  ctISO8859_14,
  ctISO8859_15,
  ctISO8859_16,
  ctCP437,
  ctCP850,
  ctTechnik,
  ctGrafik,
};

inline constexpr int kCharTableKindCount = 20;
inline constexpr int kTotalEntryCount = 2016;

// Every kind in order, for range-for loops.
inline constexpr std::array<TCharTableKind, kCharTableKindCount> kAllCharTableKinds = {
    ctANSI,       ctISO8859_1,  ctISO8859_2, ctISO8859_3,  ctISO8859_4,  ctISO8859_5,  ctISO8859_6,
    ctISO8859_7,  ctISO8859_8,  ctISO8859_9, ctISO8859_10, ctISO8859_11, ctISO8859_13, ctISO8859_14,
    ctISO8859_15, ctISO8859_16, ctCP437,     ctCP850,      ctTechnik,    ctGrafik,
};

// Number of entries (= cells of the table's picture).
int TableEntryCount(TCharTableKind kind);
// Position of the table's first entry in the whole store.
int TableFirstPosition(TCharTableKind kind);
// Section name in the configuration file ("ANSI", "ISO-8859-1", ...).
std::string_view SectionName(TCharTableKind kind);
// Name remembered under [Zeichensatz] "Typ" ("ANSI", "ISO8859-1", ...):
// no dash after "ISO", unlike the section names.
std::string_view TableKindNameOf(TCharTableKind kind);
// The kind whose remembered name equals the text exactly, if any.
std::optional<TCharTableKind> TableKindFromName(std::string_view name);
// True for the fifteen ISO 8859 tables (shown on the inner tab control).
bool IsIsoTable(TCharTableKind kind);

}  // namespace rf::chardata
