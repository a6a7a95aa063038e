#include "framework/thread.h"

#include <process.h>

#include "framework/gdi.h"
#include "framework/thread_sync.h"

namespace rf::fw {
namespace {

std::atomic<long> g_live{0};

}  // namespace

Thread::~Thread() {
  if (handle_ != nullptr) CloseHandle(handle_);
}

void Thread::Resume() {
  if (handle_ == nullptr) {
    AcquireSyncWindow();
    unsigned id = 0;
    ++g_live;
    const std::uintptr_t h = _beginthreadex(nullptr, 0, &Thread::Proc, this, CREATE_SUSPENDED, &id);
    if (h == 0) {
      --g_live;
      ReleaseSyncWindow();
      throw EOutOfResources();
    }
    handle_ = reinterpret_cast<HANDLE>(h);
    SetThreadPriority(handle_, priority_);
  }
  if (suspended_.exchange(false)) ResumeThread(handle_);
}

void Thread::SetPriority(int priority) {
  priority_ = priority;
  if (handle_ != nullptr) SetThreadPriority(handle_, priority);
}

bool Thread::Synchronize(const std::function<void()>& call) {
  return fw::Synchronize(call);
}

long Thread::LiveCount() {
  return g_live.load();
}

unsigned __stdcall Thread::Proc(void* param) {
  auto* self = static_cast<Thread*>(param);
  // Nothing escapes a thread: an error ends the body.
  try {
    self->Execute();
  } catch (...) {
  }
  // The end-of-run handler belongs on the GUI thread; only when none is
  // left does it run here.
  try {
    if (!fw::Synchronize([self] { self->DoTerminate(); })) self->DoTerminate();
  } catch (...) {
  }
  if (self->FreeOnTerminate) delete self;
  ReleaseSyncWindow();
  --g_live;
  return 0;
}

}  // namespace rf::fw
