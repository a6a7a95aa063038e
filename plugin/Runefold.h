// The three functions a host HTML editor calls.
#pragma once

#include <windows.h>

#include <cstdint>

extern "C" {

// Always 1.
__declspec(dllexport) std::int32_t WINAPI pluginInterfaceVersion();
// Runs the picker modally and returns a new zero-terminated text (never
// null); the three arguments are ignored.
__declspec(dllexport) char* WINAPI pluginStart(std::int32_t a, std::int32_t b, std::int32_t c);
// 1 when the text pluginStart returned is to be inserted, else 0.
__declspec(dllexport) std::int32_t WINAPI pluginRueckgabetyp();
}
