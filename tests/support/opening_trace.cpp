#include "tests/support/opening_trace.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>

#include "host/driver.h"
#include "tests/support/iat_hook.h"

namespace rf::test {
namespace {

// The character sections in table order, as the data file names them.
constexpr const char* kSections[] = {"ANSI",        "ISO-8859-1",  "ISO-8859-2",  "ISO-8859-3",
                                     "ISO-8859-4",  "ISO-8859-5",  "ISO-8859-6",  "ISO-8859-7",
                                     "ISO-8859-8",  "ISO-8859-9",  "ISO-8859-10", "ISO-8859-11",
                                     "ISO-8859-13", "ISO-8859-14", "ISO-8859-15", "ISO-8859-16",
                                     "CP437",       "CP850",       "Technik",     "Grafik"};

OpeningTrace* g_trace = nullptr;
LARGE_INTEGER g_start{}, g_frequency{};
HWND g_dialog = nullptr;
bool g_idle_seen = false;

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart - g_start.QuadPart) /
         static_cast<double>(g_frequency.QuadPart);
}

// Stamps one call around the original.
template <typename F>
auto Timed(Call call, F&& original, unsigned message = 0, HWND window = nullptr) {
  const double begin = NowMs();
  auto result = original();
  // What follows the first idle belongs to closing, not to opening.
  if (g_trace && !g_idle_seen) {
    std::string name;
    if (window) {
      name = rf::host::NameOf(window);
      if (name.empty()) {
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        name = cls;
      }
    }
    g_trace->stamps.push_back({call, begin, NowMs(), message, std::move(name)});
  }
  return result;
}

decltype(&CreateWindowExA) real_CreateWindowExA;
decltype(&SendMessageA) real_SendMessageA;
decltype(&SetWindowPos) real_SetWindowPos;
decltype(&ShowWindow) real_ShowWindow;
decltype(&GetMessageA) real_GetMessageA;
decltype(&DispatchMessageA) real_DispatchMessageA;
decltype(&IsDialogMessageA) real_IsDialogMessageA;
decltype(&FindResourceA) real_FindResourceA;
decltype(&LoadResource) real_LoadResource;
decltype(&LockResource) real_LockResource;
decltype(&SizeofResource) real_SizeofResource;
decltype(&GetPrivateProfileStringA) real_GetPrivateProfileStringA;
decltype(&WritePrivateProfileStringA) real_WritePrivateProfileStringA;
FILE* (*real_fopen)(const char*, const char*);
FILE* (*real_wfopen)(const wchar_t*, const wchar_t*);

HWND WINAPI HookCreateWindowExA(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w,
                                int h, HWND parent, HMENU menu, HINSTANCE inst, LPVOID param) {
  const double begin = NowMs();
  HWND created = real_CreateWindowExA(ex, cls, name, style, x, y, w, h, parent, menu, inst, param);
  if (g_trace && !g_idle_seen)
    g_trace->stamps.push_back({Call::CreateWindow, begin, NowMs(), 0,
                               (IS_INTRESOURCE(cls) ? std::string("#atom") : std::string(cls)) +
                                   (parent ? "" : " (top level)")});
  return created;
}

LRESULT WINAPI HookSendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return Timed(
      Call::SendMessage, [&] { return real_SendMessageA(hwnd, msg, wp, lp); }, msg, hwnd);
}

BOOL WINAPI HookSetWindowPos(HWND hwnd, HWND after, int x, int y, int w, int h, UINT flags) {
  return Timed(Call::SetWindowPos,
               [&] { return real_SetWindowPos(hwnd, after, x, y, w, h, flags); });
}

BOOL WINAPI HookShowWindow(HWND hwnd, int command) {
  if (command == SW_HIDE || GetAncestor(hwnd, GA_ROOT) != hwnd || !g_trace || g_dialog)
    return real_ShowWindow(hwnd, command);
  g_dialog = hwnd;
  return Timed(Call::ShowDialog, [&] { return real_ShowWindow(hwnd, command); });
}

BOOL WINAPI HookGetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
  // Nothing waiting, painting included: what the user sees is complete.
  if (g_trace && g_dialog && !g_idle_seen && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) {
    g_idle_seen = true;
    const double now = NowMs();
    g_trace->stamps.push_back({Call::Idle, now, now});
    if (HWND cancel = rf::host::FindControl(g_dialog, "BtnAbbruch"))
      PostMessageA(cancel, BM_CLICK, 0, 0);
    else
      PostMessageA(g_dialog, WM_CLOSE, 0, 0);
  }
  return real_GetMessageA(msg, hwnd, first, last);
}

LRESULT WINAPI HookDispatchMessageA(const MSG* msg) {
  if (!g_dialog) return real_DispatchMessageA(msg);
  return Timed(
      Call::Dispatch, [&] { return real_DispatchMessageA(msg); }, msg->message, msg->hwnd);
}

// The dialog navigation dispatches what it does not take itself.
BOOL WINAPI HookIsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!g_dialog) return real_IsDialogMessageA(dialog, msg);
  return Timed(
      Call::Dispatch, [&] { return real_IsDialogMessageA(dialog, msg); }, msg->message, msg->hwnd);
}

HRSRC WINAPI HookFindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
  const bool picture = IS_INTRESOURCE(type) && reinterpret_cast<ULONG_PTR>(type) == 10;
  return Timed(picture ? Call::FindPicture : Call::Resource,
               [&] { return real_FindResourceA(module, name, type); });
}

HGLOBAL WINAPI HookLoadResource(HMODULE module, HRSRC info) {
  return Timed(Call::Resource, [&] { return real_LoadResource(module, info); });
}

LPVOID WINAPI HookLockResource(HGLOBAL data) {
  return Timed(Call::Resource, [&] { return real_LockResource(data); });
}

DWORD WINAPI HookSizeofResource(HMODULE module, HRSRC info) {
  return Timed(Call::Resource, [&] { return real_SizeofResource(module, info); });
}

DWORD WINAPI HookGetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                                          DWORD size, LPCSTR file) {
  if (g_trace && !g_idle_seen)
    g_trace->reads.push_back({section ? section : "", key ? key : "\x01", file ? file : ""});
  return Timed(Call::ProfileRead, [&] {
    return real_GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
  });
}

BOOL WINAPI HookWritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR text, LPCSTR file) {
  return Timed(Call::ProfileWrite,
               [&] { return real_WritePrivateProfileStringA(section, key, text, file); });
}

FILE* HookFopen(const char* name, const char* mode) {
  return Timed(Call::FileOpen, [&] { return real_fopen(name, mode); });
}

FILE* HookWfopen(const wchar_t* name, const wchar_t* mode) {
  return Timed(Call::FileOpen, [&] { return real_wfopen(name, mode); });
}

template <typename T>
void Patch(HMODULE module, const char* dll, const char* name, T& original, T hook) {
  void* previous = rf::test::ReplaceImport(module, dll, name, reinterpret_cast<void*>(hook));
  if (!previous) throw std::runtime_error(std::string("no import ") + dll + "!" + name);
  original = reinterpret_cast<T>(previous);
}

// The C library's file opening is patched where the module imports it; a
// module that opens no file by itself does not.
template <typename T>
void PatchIfImported(HMODULE module, const char* dll, const char* name, T& original, T hook) {
  if (void* previous = rf::test::ReplaceImport(module, dll, name, reinterpret_cast<void*>(hook)))
    original = reinterpret_cast<T>(previous);
}

}  // namespace

void InstallOpeningTrace(HMODULE module) {
  QueryPerformanceFrequency(&g_frequency);
  Patch(module, "USER32.dll", "CreateWindowExA", real_CreateWindowExA, HookCreateWindowExA);
  Patch(module, "USER32.dll", "SendMessageA", real_SendMessageA, HookSendMessageA);
  Patch(module, "USER32.dll", "SetWindowPos", real_SetWindowPos, HookSetWindowPos);
  Patch(module, "USER32.dll", "ShowWindow", real_ShowWindow, HookShowWindow);
  Patch(module, "USER32.dll", "GetMessageA", real_GetMessageA, HookGetMessageA);
  Patch(module, "USER32.dll", "DispatchMessageA", real_DispatchMessageA, HookDispatchMessageA);
  Patch(module, "USER32.dll", "IsDialogMessageA", real_IsDialogMessageA, HookIsDialogMessageA);
  Patch(module, "KERNEL32.dll", "FindResourceA", real_FindResourceA, HookFindResourceA);
  Patch(module, "KERNEL32.dll", "LoadResource", real_LoadResource, HookLoadResource);
  Patch(module, "KERNEL32.dll", "LockResource", real_LockResource, HookLockResource);
  Patch(module, "KERNEL32.dll", "SizeofResource", real_SizeofResource, HookSizeofResource);
  Patch(module, "KERNEL32.dll", "GetPrivateProfileStringA", real_GetPrivateProfileStringA,
        HookGetPrivateProfileStringA);
  Patch(module, "KERNEL32.dll", "WritePrivateProfileStringA", real_WritePrivateProfileStringA,
        HookWritePrivateProfileStringA);
  PatchIfImported(module, "msvcrt.dll", "fopen", real_fopen, HookFopen);
  PatchIfImported(module, "msvcrt.dll", "_wfopen", real_wfopen, HookWfopen);
}

void BeginOpening(OpeningTrace& trace) {
  trace = {};
  trace.stamps.reserve(8192);
  trace.reads.reserve(4096);
  g_dialog = nullptr;
  g_idle_seen = false;
  QueryPerformanceCounter(&g_start);
  g_trace = &trace;
}

void EndOpening() {
  g_trace = nullptr;
}

OpeningPhases PhasesOf(const OpeningTrace& trace) {
  const auto& s = trace.stamps;
  auto first = [&](Call c) -> std::ptrdiff_t {
    for (std::size_t i = 0; i < s.size(); ++i)
      if (s[i].call == c) return static_cast<std::ptrdiff_t>(i);
    return -1;
  };
  auto last = [&](Call c) -> std::ptrdiff_t {
    for (std::size_t i = s.size(); i-- > 0;)
      if (s[i].call == c) return static_cast<std::ptrdiff_t>(i);
    return -1;
  };
  const auto first_picture = first(Call::FindPicture), last_picture = last(Call::FindPicture);
  const auto first_read = first(Call::ProfileRead), last_read = last(Call::ProfileRead);
  const auto shown = first(Call::ShowDialog), idle = first(Call::Idle);
  if (first_picture < 0 || first_read < 0 || shown < 0 || idle < 0)
    throw std::runtime_error("the opening lacks a mark (pictures, reads, show or idle)");
  // A picture is decoded after its resource is locked, up to the first call
  // that is not about resources.
  auto pictures_end = static_cast<std::size_t>(last_picture) + 1;
  while (pictures_end < s.size() &&
         (s[pictures_end].call == Call::Resource || s[pictures_end].call == Call::FindPicture))
    ++pictures_end;
  const double pictures_done = pictures_end < s.size() ? s[pictures_end].begin_ms : s.back().end_ms;

  OpeningPhases p;
  p.windows = s[first_picture].begin_ms;
  p.pictures = pictures_done - s[first_picture].begin_ms;
  p.layout = s[first_read].begin_ms - pictures_done;
  for (const Stamp& st : s) {
    const double inside = st.end_ms - st.begin_ms;
    switch (st.call) {
      case Call::ProfileRead:
        p.reads += inside;
        break;
      case Call::CreateWindow:
        ++p.windows_created;
        p.in_create += inside;
        break;
      case Call::SendMessage:
        ++p.messages_sent;
        p.in_send += inside;
        break;
      case Call::SetWindowPos:
        ++p.positions_set;
        p.in_position += inside;
        break;
      case Call::ShowDialog:
        p.in_show += inside;
        break;
      case Call::Dispatch:
        ++p.dispatched;
        p.in_dispatch += inside;
        break;
      default:
        break;
    }
  }
  p.load_ours = s[last_read].end_ms - s[first_read].begin_ms - p.reads;
  p.after_load = s[shown].begin_ms - s[last_read].end_ms;
  p.first_paint = s[idle].begin_ms - s[shown].begin_ms;
  p.total = s[idle].begin_ms;
  return p;
}

std::string OpeningDetail(const OpeningTrace& trace) {
  std::map<std::string, std::pair<int, double>> by_kind;
  for (const Stamp& st : trace.stamps) {
    char key[128];
    if (st.call == Call::Dispatch)
      std::snprintf(key, sizeof key, "0x%04X %s", st.message, st.window.c_str());
    else if (st.call == Call::CreateWindow)
      std::snprintf(key, sizeof key, "create %s", st.window.c_str());
    else if (st.call == Call::SendMessage)
      std::snprintf(key, sizeof key, "send 0x%04X", st.message);
    else
      continue;
    auto& slot = by_kind[key];
    ++slot.first;
    slot.second += st.end_ms - st.begin_ms;
  }
  std::vector<std::pair<std::string, std::pair<int, double>>> sorted(by_kind.begin(),
                                                                     by_kind.end());
  std::sort(sorted.begin(), sorted.end(),
            [](const auto& a, const auto& b) { return a.second.second > b.second.second; });
  std::string out;
  for (const auto& [key, value] : sorted) {
    char line[192];
    std::snprintf(line, sizeof line, "    %-36s %3d x %7.2f ms\n", key.c_str(), value.first,
                  value.second);
    out += line;
  }
  return out;
}

std::vector<std::vector<std::string>> KeysPerSection(const std::string& cfg) {
  std::vector<std::vector<std::string>> keys;
  std::vector<char> buffer(8192);
  for (const char* section : kSections) {
    const DWORD n = GetPrivateProfileStringA(section, nullptr, nullptr, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), cfg.c_str());
    auto& list = keys.emplace_back();
    for (DWORD at = 0; at < n && buffer[at];) {
      list.emplace_back(buffer.data() + at);
      at += static_cast<DWORD>(list.back().size()) + 1;
    }
  }
  return keys;
}

std::string CheckReadSequence(const OpeningTrace& trace, const std::string& cfg_path,
                              const std::vector<std::vector<std::string>>& keys_per_section) {
  std::vector<ProfileReadArgs> expected = {{"Ausgabe", "Typ", ""},   {"Zeichensatz", "Typ", ""},
                                           {"Benutzer", "Typ1", ""}, {"Benutzer", "Typ2", ""},
                                           {"Benutzer", "Typ3", ""}, {"Default", "Typ1", ""},
                                           {"Default", "Typ2", ""},  {"Default", "Typ3", ""}};
  for (std::size_t i = 0; i < std::size(kSections); ++i) {
    expected.push_back({kSections[i], "\x01", ""});
    for (const std::string& key : keys_per_section.at(i))
      expected.push_back({kSections[i], key, ""});
  }
  std::string problems;
  char line[512];
  if (trace.reads.size() != expected.size()) {
    std::snprintf(line, sizeof line, "%zu reads made, %zu expected\n", trace.reads.size(),
                  expected.size());
    problems += line;
  }
  for (std::size_t i = 0; i < std::min(trace.reads.size(), expected.size()); ++i) {
    const ProfileReadArgs& r = trace.reads[i];
    if (r.section != expected[i].section || r.key != expected[i].key || r.file != cfg_path) {
      std::snprintf(line, sizeof line, "read %zu: [%s] %s in %s, expected [%s] %s in %s\n", i,
                    r.section.c_str(), r.key.c_str(), r.file.c_str(), expected[i].section.c_str(),
                    expected[i].key.c_str(), cfg_path.c_str());
      problems += line;
      break;
    }
  }
  for (const Stamp& st : trace.stamps) {
    if (st.call == Call::ProfileWrite) {
      problems += "a profile write during the opening\n";
      break;
    }
    if (st.call == Call::FileOpen) {
      problems += "a file opened by the C library during the opening\n";
      break;
    }
  }
  return problems;
}

}  // namespace rf::test
