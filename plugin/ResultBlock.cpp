#include "plugin/ResultBlock.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include <windows.h>

namespace rf::plugin {
namespace {
char g_empty_text[1] = {0};
}

char* NewResultBlock(const std::string& text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max() - 5) throw std::bad_alloc();
  const std::uint32_t size = static_cast<std::uint32_t>(text.size()) + 5;
  auto* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
  if (!block) throw std::bad_alloc();
  std::memcpy(block, &size, sizeof size);
  std::memcpy(block + 4, text.data(), text.size());
  block[4 + text.size()] = '\0';
  return block + 4;
}

char* EmptyResultText() {
  return g_empty_text;
}

}  // namespace rf::plugin
