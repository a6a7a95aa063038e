// The "Fehler" dialog: the framework's own small form with the error icon
// and one OK button that is both the default and the cancel button. Unlike
// a system message box it tells a confirmation (OK, Enter, Escape) from a
// close through the window's close command, which the bad-data reports of
// the configuration need.
#pragma once

#include <string>

namespace rf::fw {

inline constexpr const char* kFehlerCaption = "Fehler";

enum class FehlerAnswer { Ok, Closed };

FehlerAnswer ShowFehlerDialog(const std::string& text);

}  // namespace rf::fw
