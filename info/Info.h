// The info dialog: a modeless about box owned by the application object,
// one at a time, that may outlive the picker run that opened it.
#pragma once

namespace rf::fw {
class Form;
}

namespace rf::info {

// Set while an info dialog exists.
extern bool InfoShowing;
// The open info dialog, or nullptr.
extern fw::Form* FrmInfo;

// Creates the info dialog; it shows itself on creation.
void CreateInfoDialog();
// Destroys an info dialog left open (module unload).
void DestroyInfoDialog();

}  // namespace rf::info
