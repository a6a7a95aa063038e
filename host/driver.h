// Drives the plug-in's dialogs from a second thread of the host process,
// as a user would, through window messages; finds controls by the names of
// the layout. Used by the demo host's scripted mode and by the Wine tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rf::host {

// The plug-in loaded as a host loads it, with its three exports.
struct Plugin {
  HMODULE module = nullptr;
  std::int32_t(WINAPI* InterfaceVersion)() = nullptr;
  char*(WINAPI* Start)(std::int32_t, std::int32_t, std::int32_t) = nullptr;
  std::int32_t(WINAPI* ResultKind)() = nullptr;
};
// Loads Runefold.dll from a folder (empty: beside the calling program).
// Throws std::runtime_error when it cannot.
Plugin LoadPlugin(const std::string& folder = "");
void UnloadPlugin(Plugin& plugin);
// Folder of the calling program, with a trailing backslash.
std::string ProgramFolder();

// A visible top-level window of this process with the caption, waited for.
HWND WaitForWindow(const std::string& caption, int timeout_ms = 10000);
// Waits until the window is gone (or hidden).
bool WaitForWindowGone(HWND window, int timeout_ms = 10000);
// The descendant window named so in its dialog's layout, or nullptr.
HWND FindControl(HWND root, const std::string& name);
HWND Control(HWND root, const std::string& name);  // throws when missing
std::string NameOf(HWND window);

std::string GetText(HWND window);
void SetText(HWND window, const std::string& text);
// Mouse events in the window's client coordinates, handled synchronously.
void MouseMove(HWND window, int x, int y);
void MouseDown(HWND window, int x, int y, UINT button_msg = WM_LBUTTONDOWN);
void MouseUp(HWND window, int x, int y, UINT button_msg = WM_LBUTTONUP);
void Click(HWND window, int x, int y);
// Presses a button as a click does.
void PressButton(HWND button);
// Keys through the dialog's message loop, as typed.
void PostKey(HWND window, WPARAM key);
void TypeText(HWND window, const std::string& text);
// Waits until the GUI thread has handled everything posted to the window.
void Sync(HWND window);
// Radio group items (its child buttons in item order).
std::vector<HWND> RadioItems(HWND group);
int CheckedItem(HWND group);
void ChooseItem(HWND group, int index);
// Tab control: select a tab by index (as a click on it does).
void SelectTab(HWND tab_control, int index);
int SelectedTab(HWND tab_control);
// Rectangle of a window in its parent's client coordinates.
RECT RectInParent(HWND window);

// The window's picture as the user sees it, 24-bit RGB, top to bottom.
struct Screenshot {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  COLORREF Pixel(int x, int y) const;
};
Screenshot CaptureWindow(HWND window, bool client_only = false);
// A rectangle of the screen as it is now.
Screenshot CaptureScreen(const RECT& area);
bool SavePng(const Screenshot& shot, const std::string& path);

}  // namespace rf::host
