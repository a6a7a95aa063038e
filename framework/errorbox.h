// The error convention of every handler: an exception that escapes it is
// shown in the system's exception box (its message and a full stop, titled
// with the application title) and the window carries on.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace rf::fw {

void ShowExceptionBox(const std::string& message);

// Runs a handler and reports what escapes it; never throws.
template <typename F>
void Guarded(F&& f) noexcept {
  try {
    f();
  } catch (const std::exception& e) {
    try {
      ShowExceptionBox(e.what());
    } catch (...) {
    }
  } catch (...) {
    try {
      ShowExceptionBox("Unknown error");
    } catch (...) {
    }
  }
}

}  // namespace rf::fw
