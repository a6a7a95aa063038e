// The module-wide store of character entries and user-form templates. It
// lives from module load to unload and keeps its contents between dialog
// runs; only a successfully parsed section overwrites a table.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "chardata/char_entry.h"
#include "chardata/char_table_kind.h"
#include "chardata/fixed_text.h"

namespace rf::chardata {

// Index 0 .. TableEntryCount(kind) - 1; callers never form another index
// (checked in debug builds only).
TCharEntry& TableEntry(TCharTableKind kind, int index);

// Templates of the three user forms; empty means "not set".
using TemplateText = FixedText<30>;
extern TemplateText DefaultTemplate1;
extern TemplateText DefaultTemplate2;
extern TemplateText DefaultTemplate3;
// Template k = 1, 2, 3.
TemplateText& DefaultTemplate(int k);

// The lines read from each section during one load ("key=value"), one
// list per table in table order. Made and dropped by the loader.
using SectionLines = std::array<std::vector<std::string>, kCharTableKindCount>;

// Back to the state at module load: all entries and templates empty.
// For tests; the plug-in never calls it.
void ResetStore();

}  // namespace rf::chardata
