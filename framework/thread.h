// A worker thread in the framework's manner: made suspended (no system
// thread exists until it is first resumed), told to end by a flag it polls,
// calling back into the GUI thread through the synchronisation window, and
// optionally freeing itself when its body returns.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

namespace rf::fw {

class Thread {
 public:
  Thread() = default;
  virtual ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts the thread on first use (from the GUI thread, which then serves
  // its synchronised calls), or resumes a suspended one.
  void Resume();
  bool Started() const { return handle_ != nullptr; }
  bool Suspended() const { return suspended_.load(); }

  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }

  // One of the THREAD_PRIORITY_* levels; kept until the thread starts.
  void SetPriority(int priority);
  int Priority() const { return priority_; }

  // The object deletes itself on its own thread once its body and
  // end-of-run handler are done (only for started threads).
  bool FreeOnTerminate = false;

  // Runs the call on the GUI thread and waits for it; false when no GUI
  // thread serves calls any more.
  static bool Synchronize(const std::function<void()>& call);

  // Threads of this class whose system thread has not yet ended.
  static long LiveCount();

 protected:
  virtual void Execute() = 0;
  // Runs on the GUI thread (through Synchronize) after Execute returned.
  virtual void DoTerminate() {}

 private:
  static unsigned __stdcall Proc(void* self);

  HANDLE handle_ = nullptr;
  std::atomic<bool> suspended_{true};
  std::atomic<bool> terminated_{false};
  int priority_ = THREAD_PRIORITY_NORMAL;
};

}  // namespace rf::fw
