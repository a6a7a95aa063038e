#include "framework/thread_sync.h"

#include <exception>

#include "framework/gdi.h"
#include "framework/module.h"

namespace rf::fw {
namespace {

// The window's handle and its user count. Guarded by a lock of its own:
// workers release from their threads.
struct SyncState {
  SyncState() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  HWND window = nullptr;
  long users = 0;
};

SyncState& State() {
  static SyncState state;
  return state;
}

class StateLock {
 public:
  StateLock() { EnterCriticalSection(&State().lock); }
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;
  ~StateLock() { LeaveCriticalSection(&State().lock); }
};

struct PendingCall {
  const std::function<void()>* call;
  std::exception_ptr error;
  bool ran = false;
};

LRESULT CALLBACK SyncWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kSyncExecuteMessage: {
      auto* pending = reinterpret_cast<PendingCall*>(lp);
      pending->ran = true;
      // Nothing may escape a window procedure: the caller gets it instead.
      try {
        (*pending->call)();
      } catch (...) {
        pending->error = std::current_exception();
      }
      return 0;
    }
    case kSyncDestroyMessage: {
      bool destroy = false;
      {
        StateLock lock;
        if (State().window == hwnd && State().users == 0) {
          State().window = nullptr;
          destroy = true;
        }
      }
      if (destroy) DestroyWindow(hwnd);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterSyncClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(ModuleHandle(), kSyncWindowClass, &existing)) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = SyncWindowProc;
  wc.hInstance = ModuleHandle();
  wc.lpszClassName = kSyncWindowClass;
  RegisterClassA(&wc);
}

}  // namespace

void AcquireSyncWindow() {
  StateLock lock;
  SyncState& s = State();
  if (s.window != nullptr && !IsWindow(s.window)) s.window = nullptr;  // its thread ended
  if (s.window == nullptr) {
    RegisterSyncClass();
    s.window = CreateWindowExA(0, kSyncWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               ModuleHandle(), nullptr);
    if (s.window == nullptr) throw EOutOfResources();
  }
  ++s.users;
}

void ReleaseSyncWindow() {
  HWND post_to = nullptr;
  {
    StateLock lock;
    SyncState& s = State();
    if (s.users > 0 && --s.users == 0) post_to = s.window;
  }
  if (post_to != nullptr) PostMessageA(post_to, kSyncDestroyMessage, 0, 0);
}

HWND SyncWindow() {
  StateLock lock;
  return State().window;
}

bool IsSyncThread() {
  HWND window = SyncWindow();
  return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

bool Synchronize(const std::function<void()>& call) {
  HWND window = SyncWindow();
  if (window == nullptr) return false;
  PendingCall pending{&call, nullptr, false};
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    call();
    return true;
  }
  SendMessageA(window, kSyncExecuteMessage, 0, reinterpret_cast<LPARAM>(&pending));
  if (pending.error) std::rethrow_exception(pending.error);
  return pending.ran;
}

bool DispatchSyncMessages() {
  HWND window = SyncWindow();
  MSG msg;
  // Peeking runs the calls sent to this thread's windows; posted messages
  // of the window (its destruction) are taken one by one.
  while (window != nullptr &&
         PeekMessageA(&msg, window, kSyncDestroyMessage, kSyncExecuteMessage, PM_REMOVE)) {
    DispatchMessageA(&msg);
  }
  return !PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}

bool WaitAndDispatchSyncMessages(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_SENDMESSAGE | QS_POSTMESSAGE);
  return DispatchSyncMessages();
}

}  // namespace rf::fw
