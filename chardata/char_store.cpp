#include "chardata/char_store.h"

#include <cassert>

#include "chardata/free_text_store.h"

namespace rf::chardata {
namespace {

// All 2016 entries in one static array, tables at their first positions.
std::array<TCharEntry, kTotalEntryCount> g_entries;

}  // namespace

TemplateText DefaultTemplate1;
TemplateText DefaultTemplate2;
TemplateText DefaultTemplate3;

TCharEntry& TableEntry(TCharTableKind kind, int index) {
  assert(index >= 0 && index < TableEntryCount(kind));
  return g_entries[static_cast<std::size_t>(TableFirstPosition(kind)) +
                   static_cast<std::size_t>(index)];
}

TemplateText& DefaultTemplate(int k) {
  assert(k >= 1 && k <= 3);
  return k == 1 ? DefaultTemplate1 : k == 2 ? DefaultTemplate2 : DefaultTemplate3;
}

void ResetStore() {
  g_entries.fill(TCharEntry{});
  ResetEntryNotes();
  DefaultTemplate1.Clear();
  DefaultTemplate2.Clear();
  DefaultTemplate3.Clear();
}

}  // namespace rf::chardata
