// Replaces what a loaded module calls for one of its imports, by rewriting
// the entry of its import address table. Lets a test see what the module
// hands to the system without any switch inside the module.
#pragma once

#include <windows.h>

namespace rf::test {

// The previous target, or nullptr when the module does not import the
// function from that DLL by name.
void* ReplaceImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace rf::test
