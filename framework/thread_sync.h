// Running calls of worker threads on the GUI thread. A hidden window of
// class "TThreadWindow", made on the GUI thread while any worker thread
// needs it, receives the calls as sent messages: a worker blocks until the
// GUI thread has run its call, which happens whenever the GUI thread takes
// messages (its message loop, a modal loop, or DispatchSyncMessages while
// it waits for a worker).
#pragma once

#include <windows.h>

#include <functional>

namespace rf::fw {

inline constexpr char kSyncWindowClass[] = "TThreadWindow";
// Posted to the window to destroy it on its own thread once unused.
inline constexpr UINT kSyncDestroyMessage = 0x8FFE;
// Sent to the window with the call to run.
inline constexpr UINT kSyncExecuteMessage = 0x8FFF;

// Counts one user of the window and makes it on the calling thread (the GUI
// thread) if there is none. Raises EOutOfResources when it cannot be made.
void AcquireSyncWindow();
// Drops one user; from any thread. The last one has the window destroyed on
// its own thread.
void ReleaseSyncWindow();
// The window, or nullptr.
HWND SyncWindow();
// The window exists and belongs to the calling thread.
bool IsSyncThread();

// Runs the call on the window's thread and waits for it; on that thread
// itself, runs it at once. An exception of the call is raised again here.
// Answers false, without running it, when there is no window.
bool Synchronize(const std::function<void()>& call);

// Takes and dispatches the window's pending messages, which runs the calls
// that workers are waiting for. Answers false when a quit message is
// waiting in the calling thread's queue (it is left there).
bool DispatchSyncMessages();

// Waits up to `ms` milliseconds for a message to arrive for the calling
// thread (a worker's call, a posted message), then takes the window's.
bool WaitAndDispatchSyncMessages(DWORD ms);

}  // namespace rf::fw
