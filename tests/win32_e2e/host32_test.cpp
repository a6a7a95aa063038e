// The 32-bit module as a 32-bit host sees it: the exports called through
// stdcall pointers, the stack pointer checked around pluginStart, and one
// full dialog run ending in OK. Plain main: each start of a 32-bit program
// costs about a minute under emulation.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "host/driver.h"

// Calls pluginStart(1, 2, 3) and stores how far the stack pointer moved
// across the call: 0 when the callee removed its 12 bytes of arguments.
extern "C" char* __cdecl CallStartCheckingStack(void* start, int* delta);
asm(R"(
  .text
  .globl _CallStartCheckingStack
_CallStartCheckingStack:
  push %ebx
  push %esi
  mov %esp, %esi
  mov 12(%esi), %eax
  push $3
  push $2
  push $1
  call *%eax
  mov %esp, %ebx
  sub %esi, %ebx
  mov 16(%esi), %ecx
  mov %ebx, (%ecx)
  mov %esi, %esp
  pop %esi
  pop %ebx
  ret
)");

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  if (!ok) ++failures;
}

}  // namespace

int main() {
  rf::host::Plugin plugin;
  try {
    plugin = rf::host::LoadPlugin();
  } catch (const std::exception& e) {
    std::printf("FAIL: %s\n", e.what());
    return 1;
  }
  Check(plugin.InterfaceVersion() == 1, "pluginInterfaceVersion is 1");
  Check(plugin.ResultKind() == 0, "pluginRueckgabetyp is 0 before any run");

  std::string seen;
  std::thread driver([&] {
    using namespace rf::host;
    HWND d = WaitForWindow("Erweiterter Zeichensatz für html", 300000);
    if (!d) return;
    Sync(d);
    ChooseItem(Control(d, "RGAusgabeTyp"), 4);
    SelectTab(Control(d, "PCChar"), 1);
    SelectTab(Control(d, "PCiso"), 0);
    HWND pic = Control(d, "IISO8859_1");
    MouseMove(pic, 40, 60);
    seen = GetText(Control(d, "EdEntitie"));
    Click(pic, 40, 60);
    PressButton(Control(d, "BtnOK"));
  });
  int delta = -1;
  char* text = CallStartCheckingStack(reinterpret_cast<void*>(plugin.Start), &delta);
  driver.join();
  std::int32_t size = 0;
  std::memcpy(&size, text - 4, 4);
  Check(delta == 0,
        "pluginStart removed its 12 bytes of arguments (moved " + std::to_string(delta) + ")");
  Check(seen == "&reg;", "hover showed " + seen);
  Check(std::string(text) == "&reg;", std::string("pluginStart returned \"") + text + "\"");
  Check(size == 10, "size word " + std::to_string(size));
  Check(plugin.ResultKind() == 1, "pluginRueckgabetyp is 1 after OK");
  rf::host::UnloadPlugin(plugin);
  std::printf("%s\n", failures ? "32-bit run FAILED" : "32-bit run passed");
  return failures ? 1 : 0;
}
