// The block handed to the host: a 32-bit size word (text length + 5), the
// characters and a zero, from the module's own heap. The pointer handed
// out points at the first character; the module never frees a block.
#pragma once

#include <string>

namespace rf::plugin {

// Throws std::bad_alloc when the heap has no room.
char* NewResultBlock(const std::string& text);
// The constant empty text of the failure path (not allocated).
char* EmptyResultText();

}  // namespace rf::plugin
