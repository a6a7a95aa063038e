#include "plugin_fixture.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace rf::test {
namespace {

std::string UnixToWine(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

struct FindAny {
  const std::vector<std::string>* captions;
  HWND found = nullptr;
  std::string which;
};

BOOL CALLBACK FindAnyProc(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindAny*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return TRUE;
  char text[512] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  for (const auto& c : *f->captions)
    if (c == text) {
      f->found = hwnd;
      f->which = c;
      return FALSE;
    }
  return TRUE;
}

}  // namespace

void ParkPointer() {
  // The pointer of the test display should not lie over the dialog: the
  // window system sends a move to whatever opens under it, and a hover fills
  // the fields. Wine may refuse to move it (it needs a pointer grab), so
  // tests must not rely on this.
  SetCursorPos(0, 0);
}

std::string SourcePath(const std::string& relative) {
  return UnixToWine(std::string(RF_SOURCE_DIR) + "/" + relative);
}

std::string BuiltModulePath() {
  return UnixToWine(std::string(RF_BINARY_DIR) + "/bin/Runefold.dll");
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string DeliveredConfig() {
  return ReadFile(SourcePath("data/Runefold.cfg"));
}

HWND WaitForAnyWindow(const std::vector<std::string>& captions, std::string* which,
                      int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  do {
    FindAny f{&captions};
    EnumWindows(FindAnyProc, reinterpret_cast<LPARAM>(&f));
    if (f.found) {
      if (which) *which = f.which;
      return f.found;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  } while (std::chrono::steady_clock::now() < end);
  return nullptr;
}

void ConfirmBox(HWND box) {
  if (HWND ok = host::FindControl(box, "OK")) {
    host::PressButton(ok);
    return;
  }
  // A system message box: its OK button has the id IDOK.
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

std::string BoxText(HWND box) {
  if (HWND message = host::FindControl(box, "Message")) return host::GetText(message);
  // A system message box keeps its text in a static control with id 0xFFFF.
  if (HWND text = GetDlgItem(box, 0xFFFF)) return host::GetText(text);
  return {};
}

PluginCopy::PluginCopy(const std::string* config) {
  static int counter = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  folder_ = std::string(temp) + "rf-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
  CreateDirectoryA(folder_.c_str(), nullptr);
  const std::string dll = folder_ + "\\Runefold.dll";
  if (!CopyFileA(BuiltModulePath().c_str(), dll.c_str(), FALSE))
    throw std::runtime_error("Cannot copy " + BuiltModulePath());
  if (config) WriteFile(ConfigPath(), *config);
  plugin_ = host::LoadPlugin(folder_);
}

PluginCopy::~PluginCopy() {
  host::UnloadPlugin(plugin_);
  const std::string cfg = ConfigPath();
  SetFileAttributesA(cfg.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(cfg.c_str());
  DeleteFileA((folder_ + "\\Runefold.dll").c_str());
  RemoveDirectoryA(folder_.c_str());
}

RunResult PluginCopy::Run(const std::function<void(HWND dialog)>& script, BoxWay boxes) {
  RunResult result;
  ParkPointer();
  std::thread driver([&] {
    try {
      for (;;) {
        std::string which;
        HWND w = WaitForAnyWindow({kPickerCaption, "Fehler"}, &which);
        if (!w) return;
        if (which == "Fehler") {
          result.messages.push_back(BoxText(w));
          HWND ok = host::FindControl(w, "OK");
          switch (boxes) {
            case BoxWay::kOkButton:
              ConfirmBox(w);
              break;
            case BoxWay::kEnter:
            case BoxWay::kEscape:
              // Typed on the focused OK button, as the user would.
              host::PostKey(ok ? ok : w, boxes == BoxWay::kEnter ? VK_RETURN : VK_ESCAPE);
              break;
            case BoxWay::kClose:
              PostMessageA(w, WM_CLOSE, 0, 0);
              break;
          }
          host::WaitForWindowGone(w);
          continue;
        }
        host::Sync(w);
        script(w);
        result.script_ok = true;
        return;
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "driver: %s\n", e.what());
    }
  });
  char* text = plugin_.Start(11, 22, 33);
  result.kind = plugin_.ResultKind();
  result.text = text;
  std::memcpy(&result.size_word, text - 4, 4);
  driver.join();
  return result;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

std::string ArtifactPath(const std::string& file) {
  std::string dir = "Z:" + std::string(RF_BINARY_DIR) + "/artifacts";
  for (char& c : dir)
    if (c == '/') c = '\\';
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir + "\\" + file;
}

}  // namespace rf::test
