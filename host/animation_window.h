// The host's "Test" command: a window that plays an animated GIF of our own
// making (stored in the host's resources), drawn by the codec's picture
// class through its animation painter, as a picture control would.
#pragma once

#include <windows.h>

#include <string>

namespace rf::host {

// Opens the window (modeless, owned by `owner`); answers its handle.
HWND ShowAnimationWindow(HWND owner);
// Frames the painter has shown in the window so far.
int AnimationFramesShown(HWND window);

// Scripted: opens the window, lets it play for a while, writes a screenshot
// into the folder and reports how many frames were shown. 0 when the
// picture played.
int RunAnimationScript(HWND owner, const std::string& shot_dir);

}  // namespace rf::host
