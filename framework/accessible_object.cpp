#include "framework/accessible_object.h"

#include <oleacc.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

namespace rf::fw {
namespace {

// The system's accessibility functions, looked up once and kept.
struct OleFunctions {
  decltype(&::LresultFromObject) lresult_from_object = nullptr;
  decltype(&::CreateStdAccessibleObject) create_std_object = nullptr;
  decltype(&::CoDisconnectObject) disconnect = nullptr;
  // Windows 8 and later, and Wine; CO_MTA_USAGE_COOKIE is a handle.
  HRESULT(WINAPI* increment_mta_usage)(HANDLE* cookie) = nullptr;
  decltype(&::SysAllocStringLen) alloc_string = nullptr;
  bool Complete() const {
    return lresult_from_object && create_std_object && disconnect && alloc_string;
  }
};

template <typename Fn>
void Lookup(HMODULE module, const char* name, Fn& fn) {
  if (module) fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Never freed: a client may hold an object of ours until the process ends,
// and FreeLibrary at module unload is not safe.
const OleFunctions* Ole() {
  static const OleFunctions functions = [] {
    OleFunctions f;
    HMODULE oleacc = LoadLibraryA("oleacc.dll");
    HMODULE ole32 = LoadLibraryA("ole32.dll");
    HMODULE oleaut32 = LoadLibraryA("oleaut32.dll");
    Lookup(oleacc, "LresultFromObject", f.lresult_from_object);
    Lookup(oleacc, "CreateStdAccessibleObject", f.create_std_object);
    Lookup(ole32, "CoDisconnectObject", f.disconnect);
    Lookup(ole32, "CoIncrementMTAUsage", f.increment_mta_usage);
    Lookup(oleaut32, "SysAllocStringLen", f.alloc_string);
    return f;
  }();
  return functions.Complete() ? &functions : nullptr;
}

// Marshalling needs COM on the thread. A host thread without it joins the
// process's multithreaded apartment, which is kept from the first such
// request on: the host's thread is never given an apartment of ours (it
// may still choose its own later), and calls of clients come in on COM's
// threads, which need nothing of the host's thread once the window has
// gone. A host thread with COM of its own serves the calls itself.
bool EnsureMultithreadedApartment(const OleFunctions& ole) {
  static const bool kept = [&] {
    HANDLE cookie = nullptr;
    return ole.increment_mta_usage && SUCCEEDED(ole.increment_mta_usage(&cookie));
  }();
  return kept;
}

// Calls from other threads wait in this table while the window's thread
// runs them; the message carries only a key into it, so a stray message
// with a made-up number runs nothing.
struct PendingCall {
  const std::function<void()>* call;
  bool running = false;
  bool done = false;  // a key runs once, whatever comes with it again
};
struct PendingCalls {
  std::mutex lock;
  std::condition_variable finished;
  std::map<LPARAM, PendingCall> calls;
  LPARAM next = 1;
};

PendingCalls& Pending() {
  static PendingCalls pending;
  return pending;
}

// Registered by the first call that needs it, so that the windows of a
// user without a screen reader never ask the window server for it.
std::atomic<UINT>& RegisteredCallMessage() {
  static std::atomic<UINT> message{0};
  return message;
}

// How long a client's thread waits for the window's thread to take up a
// call; a window's thread that reads its messages takes it up at once.
constexpr UINT kCallTimeoutMs = 5000;

UINT CallMessage() {
  auto& message = RegisteredCallMessage();
  if (!message) message = RegisterWindowMessageA("RfAccessibleCall");
  return message;
}

BSTR ToBstr(const std::string& text) {
  const int n =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return Ole()->alloc_string(wide.data(), static_cast<UINT>(wide.size()));
}

void SetEmpty(VARIANT* v) {
  v->vt = VT_EMPTY;
}

void SetChild(VARIANT* v, long child) {
  v->vt = VT_I4;
  v->lVal = child;
}

}  // namespace

class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(HWND window, AccessibleSource* source, IAccessible* standard)
      : window_(window),
        thread_(GetWindowThreadProcessId(window, nullptr)),
        source_(source),
        standard_(standard) {}

  // Only on the window's thread, before its source goes.
  void Kill() { dead_ = true; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: clients of IAccessible call its methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (dead_) return RPC_E_DISCONNECTED;
    return Standard(S_FALSE, [&](IAccessible& a) { return a.get_accParent(parent); });
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    std::optional<int> n;
    if (!Ask([&] { n = source_->ChildCount(); })) return RPC_E_DISCONNECTED;
    if (!n) return Standard(S_OK, [&](IAccessible& a) { return a.get_accChildCount(count); });
    *count = *n;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    // The cells are simple elements, not objects of their own.
    if (id > 0 && owns_children_) return S_FALSE;
    return Standard(S_FALSE, [&](IAccessible& a) { return a.get_accChild(child, out); });
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleSource::Name, &IAccessible::get_accName);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleSource::Value, &IAccessible::get_accValue);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Text(child, out, &AccessibleSource::Description, &IAccessible::get_accDescription);
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return Number(child, out, &AccessibleSource::Role, &IAccessible::get_accRole);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return Number(child, out, &AccessibleSource::State, &IAccessible::get_accState);
  }

  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return Delegated(child, out, &IAccessible::get_accHelp);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    if (id > 0 && owns_children_) return S_FALSE;
    return Standard(S_FALSE,
                    [&](IAccessible& a) { return a.get_accHelpTopic(file, child, topic); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Delegated(child, out, &IAccessible::get_accKeyboardShortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Delegated(child, out, &IAccessible::get_accDefaultAction);
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    SetEmpty(out);
    std::optional<int> focused;
    if (!Ask([&] { focused = source_->FocusedChild(); })) return RPC_E_DISCONNECTED;
    if (!focused) return Standard(S_FALSE, [&](IAccessible& a) { return a.get_accFocus(out); });
    if (*focused < 0) return S_FALSE;
    SetChild(out, *focused);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    SetEmpty(out);
    // With children of its own the selected child is the focused one.
    std::optional<int> count, focused;
    if (!Ask([&] {
          count = source_->ChildCount();
          if (count) focused = source_->FocusedChild();
        }))
      return RPC_E_DISCONNECTED;
    if (!count) return Standard(S_FALSE, [&](IAccessible& a) { return a.get_accSelection(out); });
    if (!focused || *focused <= 0) return S_FALSE;
    SetChild(out, *focused);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    if (id > 0 && owns_children_) return DISP_E_MEMBERNOTFOUND;
    return Standard(DISP_E_MEMBERNOTFOUND,
                    [&](IAccessible& a) { return a.accSelect(flags, child); });
  }

  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    std::optional<RECT> r;
    if (!Ask([&] { r = source_->Location(id); })) return RPC_E_DISCONNECTED;
    if (!r) {
      return Standard(DISP_E_MEMBERNOTFOUND, [&](IAccessible& a) {
        return a.accLocation(left, top, width, height, child);
      });
    }
    *left = r->left;
    *top = r->top;
    *width = r->right - r->left;
    *height = r->bottom - r->top;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    SetEmpty(out);
    int id = 0;
    if (const HRESULT hr = Check(start, &id); FAILED(hr)) return hr;
    std::optional<int> to;
    if (!Ask([&] { to = source_->Navigate(id, direction); })) return RPC_E_DISCONNECTED;
    if (!to)
      return Standard(S_FALSE,
                      [&](IAccessible& a) { return a.accNavigate(direction, start, out); });
    if (*to <= 0) return S_FALSE;
    SetChild(out, *to);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    SetEmpty(out);
    std::optional<int> hit;
    if (!Ask([&] { hit = source_->HitTest({x, y}); })) return RPC_E_DISCONNECTED;
    if (!hit) return Standard(S_FALSE, [&](IAccessible& a) { return a.accHitTest(x, y, out); });
    if (*hit < 0) return S_FALSE;
    SetChild(out, *hit);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    if (id > 0 && owns_children_) return DISP_E_MEMBERNOTFOUND;
    return Standard(DISP_E_MEMBERNOTFOUND,
                    [&](IAccessible& a) { return a.accDoDefaultAction(child); });
  }

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~AccessibleObject() {
    if (standard_) standard_->Release();
  }

  // Runs the question on the window's thread while the window lives;
  // false once it has gone.
  bool Ask(const std::function<void()>& question) {
    if (dead_) return false;
    if (GetCurrentThreadId() == thread_) {
      question();
      return true;
    }
    bool answered = false;
    const std::function<void()> call = [&] {
      if (dead_) return;
      question();
      answered = true;
    };
    auto& pending = Pending();
    LPARAM key = 0;
    {
      const std::lock_guard guard(pending.lock);
      key = pending.next++;
      pending.calls[key] = {&call};
    }
    // A window that has gone, or a thread that no longer reads its
    // messages (the host after the picker closed), runs nothing: the call
    // is taken back, unless it has started, which is then waited for.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window_, CallMessage(), 0, key, SMTO_NORMAL, kCallTimeoutMs, &ignored);
    {
      std::unique_lock guard(pending.lock);
      pending.finished.wait(guard, [&] { return !pending.calls.at(key).running; });
      pending.calls.erase(key);
    }
    return answered;
  }

  // The standard object is asked on the window's thread too: it asks the
  // window itself with messages that would wait without end for a thread
  // that no longer reads them (a picker between hiding and destruction).
  HRESULT Standard(HRESULT none, const std::function<HRESULT(IAccessible&)>& call) {
    if (!standard_) return none;
    HRESULT hr = none;
    if (!Ask([&] { hr = call(*standard_); })) return RPC_E_DISCONNECTED;
    return hr;
  }

  // The child id of a VARIANT: CHILDID_SELF or 1 .. the child count.
  HRESULT Check(const VARIANT& child, int* id) {
    if (dead_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    *id = static_cast<int>(child.lVal);
    if (*id == CHILDID_SELF) return S_OK;
    std::optional<int> n;
    if (!Ask([&] { n = source_->ChildCount(); })) return RPC_E_DISCONNECTED;
    owns_children_ = n.has_value();
    // Without a count of its own the standard object judges the id.
    if (!n) return S_OK;
    return *id >= 1 && *id <= *n ? S_OK : E_INVALIDARG;
  }

  using TextQuestion = std::optional<std::string> (AccessibleSource::*)(int);
  using TextMethod = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  HRESULT Text(const VARIANT& child, BSTR* out, TextQuestion question, TextMethod delegate) {
    if (!out) return E_POINTER;
    *out = nullptr;
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    std::optional<std::string> text;
    if (!Ask([&] { text = (source_->*question)(id); })) return RPC_E_DISCONNECTED;
    if (!text)
      return Standard(DISP_E_MEMBERNOTFOUND,
                      [&](IAccessible& a) { return (a.*delegate)(child, out); });
    *out = ToBstr(*text);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  using NumberQuestion = std::optional<long> (AccessibleSource::*)(int);
  using NumberMethod = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
  HRESULT Number(const VARIANT& child, VARIANT* out, NumberQuestion question,
                 NumberMethod delegate) {
    if (!out) return E_POINTER;
    SetEmpty(out);
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    std::optional<long> number;
    if (!Ask([&] { number = (source_->*question)(id); })) return RPC_E_DISCONNECTED;
    if (!number)
      return Standard(DISP_E_MEMBERNOTFOUND,
                      [&](IAccessible& a) { return (a.*delegate)(child, out); });
    SetChild(out, *number);
    return S_OK;
  }

  HRESULT Delegated(const VARIANT& child, BSTR* out, TextMethod delegate) {
    if (!out) return E_POINTER;
    *out = nullptr;
    int id = 0;
    if (const HRESULT hr = Check(child, &id); FAILED(hr)) return hr;
    if (id > 0 && owns_children_) return DISP_E_MEMBERNOTFOUND;
    return Standard(DISP_E_MEMBERNOTFOUND,
                    [&](IAccessible& a) { return (a.*delegate)(child, out); });
  }

  std::atomic<ULONG> refs_{1};
  std::atomic<bool> dead_{false};
  // Whether the source counts children of its own (then the standard
  // object knows nothing of them); learnt with every child id checked.
  std::atomic<bool> owns_children_{false};
  const HWND window_;
  const DWORD thread_;
  AccessibleSource* const source_;  // asked on thread_ only, while !dead_
  IAccessible* const standard_;     // may be nullptr
};

WindowAccessibility::WindowAccessibility(HWND window, std::unique_ptr<AccessibleSource> source)
    : window_(window), source_(std::move(source)) {}

WindowAccessibility::~WindowAccessibility() {
  Disconnect();
}

bool WindowAccessibility::Answer(WPARAM wp, LPARAM lp, LRESULT* result) {
  if (static_cast<LONG>(lp) != OBJID_CLIENT || !source_ || closed_) return false;
  const OleFunctions* ole = Ole();
  if (!ole) return false;
  if (!object_) {
    IAccessible* standard = nullptr;
    if (FAILED(ole->create_std_object(window_, OBJID_CLIENT, __uuidof(IAccessible),
                                      reinterpret_cast<void**>(&standard))))
      standard = nullptr;
    object_ = new AccessibleObject(window_, source_.get(), standard);
  }
  *result = ole->lresult_from_object(__uuidof(IAccessible), wp, object_);
  if (*result == CO_E_NOTINITIALIZED && EnsureMultithreadedApartment(*ole))
    *result = ole->lresult_from_object(__uuidof(IAccessible), wp, object_);
  return true;
}

void WindowAccessibility::Disconnect() {
  closed_ = true;
  if (!object_) return;
  object_->Kill();
  // Calls already sent from clients' threads run now (and answer that the
  // object is gone) rather than wait for their time-out.
  MSG pending;
  PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  const OleFunctions* ole = Ole();
  ole->disconnect(object_, 0);
  object_->Release();
  object_ = nullptr;
}

bool IsAccessibleCall(UINT msg) {
  const UINT message = RegisteredCallMessage();
  return message != 0 && msg == message;
}

LRESULT RunAccessibleCall(LPARAM lp) {
  auto& pending = Pending();
  const std::function<void()>* call = nullptr;
  {
    const std::lock_guard guard(pending.lock);
    const auto it = pending.calls.find(lp);
    if (it == pending.calls.end() || it->second.running || it->second.done) return 0;
    it->second.running = true;
    call = it->second.call;
  }
  (*call)();
  {
    const std::lock_guard guard(pending.lock);
    PendingCall& ran = pending.calls.at(lp);
    ran.running = false;
    ran.done = true;
  }
  pending.finished.notify_all();
  return 0;
}

}  // namespace rf::fw
