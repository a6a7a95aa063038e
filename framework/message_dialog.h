// An error message box with one OK button that is both the default and the
// cancel button, which tells a confirmation (OK, Enter, Escape) from a
// close through the window's close command.
#pragma once

#include <string>

namespace rf::fw {

enum class MessageAnswer { Ok, Closed };

MessageAnswer ShowErrorMessage(const std::string& text, const std::string& caption);

}  // namespace rf::fw
