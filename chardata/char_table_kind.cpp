#include "chardata/char_table_kind.h"

namespace rf::chardata {
namespace {

struct KindInfo {
  std::string_view section;
  std::string_view name;
  int count;
  int first;
};

constexpr std::array<KindInfo, kCharTableKindCount> kKinds = {{
    {"ANSI", "ANSI", 128, 0},
    {"ISO-8859-1", "ISO8859-1", 96, 128},
    {"ISO-8859-2", "ISO8859-2", 96, 224},
    {"ISO-8859-3", "ISO8859-3", 96, 320},
    {"ISO-8859-4", "ISO8859-4", 96, 416},
    {"ISO-8859-5", "ISO8859-5", 96, 512},
    {"ISO-8859-6", "ISO8859-6", 96, 608},
    {"ISO-8859-7", "ISO8859-7", 96, 704},
    {"ISO-8859-8", "ISO8859-8", 96, 800},
    {"ISO-8859-9", "ISO8859-9", 96, 896},
    {"ISO-8859-10", "ISO8859-10", 96, 992},
    {"ISO-8859-11", "ISO8859-11", 96, 1088},
    {"ISO-8859-13", "ISO8859-13", 96, 1184},
    {"ISO-8859-14", "ISO8859-14", 96, 1280},
    {"ISO-8859-15", "ISO8859-15", 96, 1376},
    {"ISO-8859-16", "ISO8859-16", 96, 1472},
    {"CP437", "CP437", 160, 1568},
    {"CP850", "CP850", 160, 1728},
    {"Technik", "Technik", 40, 1888},
    {"Grafik", "Grafik", 88, 1928},
}};

constexpr bool PositionsAreContiguous() {
  int next = 0;
  for (const KindInfo& k : kKinds) {
    if (k.first != next) return false;
    next += k.count;
  }
  return next == kTotalEntryCount;
}
static_assert(PositionsAreContiguous());

}  // namespace

int TableEntryCount(TCharTableKind kind) {
  return kKinds[kind].count;
}
int TableFirstPosition(TCharTableKind kind) {
  return kKinds[kind].first;
}
std::string_view SectionName(TCharTableKind kind) {
  return kKinds[kind].section;
}
std::string_view TableKindNameOf(TCharTableKind kind) {
  return kKinds[kind].name;
}

std::optional<TCharTableKind> TableKindFromName(std::string_view name) {
  for (TCharTableKind kind : kAllCharTableKinds) {
    if (kKinds[kind].name == name) return kind;
  }
  return std::nullopt;
}

bool IsIsoTable(TCharTableKind kind) {
  return kind >= ctISO8859_1 && kind <= ctISO8859_16;
}

}  // namespace rf::chardata
