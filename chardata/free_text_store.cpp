#include "chardata/free_text_store.h"

#include <array>
#include <cassert>

#include "chardata/text_utils.h"

namespace rf::chardata {
namespace {

std::array<TEntryNotes, kTotalEntryCount> g_notes;

}  // namespace

TEntryNotes& TableEntryNotes(TCharTableKind kind, int index) {
  assert(index >= 0 && index < TableEntryCount(kind));
  return g_notes[static_cast<std::size_t>(TableFirstPosition(kind)) +
                 static_cast<std::size_t>(index)];
}

void ParseEntryNotes(std::string_view line, TEntryNotes& notes) {
  const std::size_t eq = line.find('=');
  const std::size_t comma = line.find(',');
  // A key holding a comma leaves no free text: field 1 ends before "=".
  if (eq == std::string_view::npos || (comma != std::string_view::npos && comma < eq)) {
    notes.FreeText.Clear();
  } else {
    notes.FreeText.Assign(line.substr(
        eq + 1, comma == std::string_view::npos ? std::string_view::npos : comma - eq - 1));
  }
  std::string_view number;
  if (comma != std::string_view::npos) {
    number = line.substr(comma + 1);
    number = number.substr(0, number.find(','));
  }
  notes.HasNumber = !number.empty();
  notes.Number = notes.HasNumber ? TextToNumber(number) : 0;
}

std::string_view FreeTextName(std::string_view free_text) {
  return free_text.substr(0, free_text.find(kFreeTextSeparator));
}

void ResetEntryNotes() {
  g_notes.fill(TEntryNotes{});
}

}  // namespace rf::chardata
