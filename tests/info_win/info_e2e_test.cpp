// The info dialog on the real module, loaded as a host loads it: opened from
// the picker, one at a time, outliving the picker run, its links handed to
// the shell (whose import is replaced by a recorder), its errors in a box.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "host/driver.h"
#include "tests/support/iat_hook.h"

namespace rf::test {
namespace {

constexpr const char* kPickerCaption = "Erweiterter Zeichensatz für html";
constexpr const char* kDonationURL =
    "https://www.example.org/cgi-bin/webscr?cmd=_xclick&business=spenden%40example%2eorg"
    "&item_name=Runefold&amount=9%2e99&no_shipping=0&no_note=1&tax=0&currency_code=EUR&lc=DE"
    "&bn=PP%2dDonationsBF&charset=UTF%2d8";

// ---- the shell, as the module sees it ----

struct ShellCall {
  HWND owner;
  bool has_operation, has_parameters, has_directory;
  std::string file;
  int show;
};

std::mutex g_shell_mutex;
std::vector<ShellCall> g_shell_calls;
std::atomic<INT_PTR> g_shell_result{42};

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT show) {
  std::lock_guard lock(g_shell_mutex);
  g_shell_calls.push_back({owner, operation != nullptr, parameters != nullptr, directory != nullptr,
                           file ? file : "", show});
  return reinterpret_cast<HINSTANCE>(g_shell_result.load());
}

std::vector<ShellCall> TakeShellCalls() {
  std::lock_guard lock(g_shell_mutex);
  return std::exchange(g_shell_calls, {});
}

// ---- the module, in a folder of its own with the delivered file ----

std::string UnixToWine(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

class ModuleCopy {
 public:
  ModuleCopy() {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "rf-info-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter);
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string built = UnixToWine(std::string(RF_BINARY_DIR) + "/bin/Runefold.dll");
    if (!CopyFileA(built.c_str(), (folder_ + "\\Runefold.dll").c_str(), FALSE))
      throw std::runtime_error("Cannot copy " + built);
    const std::string cfg = ReadFile(UnixToWine(std::string(RF_SOURCE_DIR) + "/data/Runefold.cfg"));
    std::ofstream(folder_ + "\\Runefold.cfg", std::ios::binary) << cfg;
    plugin = host::LoadPlugin(folder_);
    hooked = ReplaceImport(plugin.module, "shell32.dll", "ShellExecuteA",
                           reinterpret_cast<void*>(&RecordShellExecute)) != nullptr;
  }
  ~ModuleCopy() {
    host::UnloadPlugin(plugin);
    DeleteFileA((folder_ + "\\Runefold.cfg").c_str());
    DeleteFileA((folder_ + "\\Runefold.dll").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  ModuleCopy(const ModuleCopy&) = delete;
  ModuleCopy& operator=(const ModuleCopy&) = delete;

  host::Plugin plugin;
  bool hooked = false;

 private:
  std::string folder_;
};

// ---- driving ----

std::vector<HWND> InfoDialogs() {
  struct Found {
    std::vector<HWND> windows;
  } found;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        char text[64] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && std::strcmp(text, "Info") == 0)
          reinterpret_cast<Found*>(lp)->windows.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

// Runs pluginStart on this thread while the script drives the picker from
// a second one; the script ends the picker.
std::string RunPicker(host::Plugin& plugin, const std::function<void(HWND picker)>& script) {
  std::string failure;
  std::thread driver([&] {
    try {
      HWND picker = host::WaitForWindow(kPickerCaption);
      if (!picker) throw std::runtime_error("picker did not open");
      host::Sync(picker);
      script(picker);
    } catch (const std::exception& e) {
      failure = e.what();
      if (HWND picker = host::WaitForWindow(kPickerCaption, 100))
        host::PressButton(host::Control(picker, "BtnAbbruch"));
    }
  });
  plugin.Start(0, 0, 0);
  driver.join();
  return failure;
}

// A host's own message loop after pluginStart has returned, while the
// script runs on a second thread.
std::string PumpWhile(const std::function<void()>& script) {
  std::atomic<bool> done{false};
  std::string failure;
  std::thread driver([&] {
    try {
      script();
    } catch (const std::exception& e) {
      failure = e.what();
    }
    done = true;
  });
  while (!done) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  driver.join();
  return failure;
}

// A click as the user makes it; posted, since it may open a message box.
void ClickLabel(HWND label) {
  const LPARAM at = MAKELPARAM(3, 3);
  PostMessageA(label, WM_MOUSEMOVE, 0, at);
  PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(label, WM_LBUTTONUP, 0, at);
  host::Sync(label);
}

HWND OpenInfo(HWND picker) {
  host::PressButton(host::Control(picker, "BtnInfo"));
  HWND info = host::WaitForWindow("Info", 5000);
  if (!info) throw std::runtime_error("no info dialog");
  return info;
}

void CloseInfo(HWND info) {
  host::PressButton(host::Control(info, "BtEnde"));
  if (!host::WaitForWindowGone(info, 5000)) throw std::runtime_error("info dialog stays");
}

class InfoE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { module_ = new ModuleCopy(); }
  static void TearDownTestSuite() {
    delete module_;
    module_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(module_->hooked) << "the module does not import ShellExecuteA";
    TakeShellCalls();
    g_shell_result = 42;
  }
  void TearDown() override { EXPECT_TRUE(InfoDialogs().empty()) << "left an info dialog open"; }
  static host::Plugin& Plugin() { return module_->plugin; }
  static ModuleCopy* module_;
};

ModuleCopy* InfoE2E::module_ = nullptr;

TEST_F(InfoE2E, InfoOpensOneDialogAndOkMakesRoomForTheNext) {
  HWND first = nullptr, second = nullptr;
  std::size_t after_two_presses = 0, after_ok = 0;
  std::string notice, version, title, focus;
  RECT client = {};
  const std::string failure = RunPicker(Plugin(), [&](HWND picker) {
    first = OpenInfo(picker);
    // Activation reaches Wine through the X server, a little after the
    // window appears: the focus is read once it has left the picker.
    GUITHREADINFO gui = {sizeof gui};
    for (int waited = 0; waited < 3000; waited += 20) {
      GetGUIThreadInfo(GetWindowThreadProcessId(first, nullptr), &gui);
      if (gui.hwndFocus && GetAncestor(gui.hwndFocus, GA_ROOT) == first) break;
      Sleep(20);
    }
    focus = host::NameOf(gui.hwndFocus);
    host::PressButton(host::Control(picker, "BtnInfo"));
    after_two_presses = InfoDialogs().size();
    notice = host::GetText(host::Control(first, "LblCopyright"));
    version = host::GetText(host::Control(first, "LblVersion"));
    title = host::GetText(host::Control(first, "LblInfo"));
    GetClientRect(first, &client);
    CloseInfo(first);
    after_ok = InfoDialogs().size();
    second = OpenInfo(picker);
    CloseInfo(second);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  EXPECT_EQ(after_two_presses, 1u);
  EXPECT_EQ(after_ok, 0u);
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(notice, "Copyright by Example");
  EXPECT_EQ(version, "Version 1.0");
  EXPECT_EQ(title, "html Character Set Plug In für Pennaro Editor");
  EXPECT_EQ(client.right, 290);
  EXPECT_EQ(client.bottom, 196);
  EXPECT_EQ(focus, "BtEnde");
}

TEST_F(InfoE2E, DialogShowsIconDonationButtonAndLinks) {
  host::Screenshot shot;
  RECT www = {}, mail = {};
  const std::string failure = RunPicker(Plugin(), [&](HWND picker) {
    HWND info = OpenInfo(picker);
    shot = host::CaptureWindow(info, true);
    www = host::RectInParent(host::Control(info, "NxLblwww"));
    mail = host::RectInParent(host::Control(info, "NxLblemail"));
    CloseInfo(info);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  ASSERT_EQ(shot.width, 290);
  CreateDirectoryA(UnixToWine(std::string(RF_BINARY_DIR) + "/screenshots").c_str(), nullptr);
  host::SavePng(shot, UnixToWine(std::string(RF_BINARY_DIR) + "/screenshots/info_dialog.png"));
  auto red = [](COLORREF c) { return GetRValue(c); };
  auto green = [](COLORREF c) { return GetGValue(c); };
  auto blue = [](COLORREF c) { return GetBValue(c); };
  // The picked cell of the icon (yellow), at the icon's own size.
  const COLORREF cell = shot.Pixel(125 + 15, 152 + 16);
  EXPECT_TRUE(red(cell) > 200 && green(cell) > 200 && blue(cell) < 80) << std::hex << cell;
  // The donation picture: inside Panel1 and Panel2, a heart on gold.
  const int px = 200 + 1 + 1, py = 152 + 1 + 1;
  const COLORREF heart = shot.Pixel(px + 40, py + 9);
  EXPECT_TRUE(red(heart) > 150 && green(heart) < 140) << std::hex << heart;
  const COLORREF gold = shot.Pixel(px + 6, py + 6);
  EXPECT_TRUE(red(gold) > 230 && green(gold) > 180 && blue(gold) < 180) << std::hex << gold;
  // The links are navy; their labels grew from the stored widths to their
  // text, and still end before the dialog's edge.
  for (const RECT& r : {www, mail}) {
    bool navy = false;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) navy = navy || shot.Pixel(x, y) == RGB(0, 0, 128);
    EXPECT_TRUE(navy);
    EXPECT_LT(r.right, 290);
  }
  EXPECT_GT(www.right - www.left, 78);
}

TEST_F(InfoE2E, LabelsHandTheirLinksToTheShell) {
  HWND info = nullptr;
  const std::string failure = RunPicker(Plugin(), [&](HWND picker) {
    info = OpenInfo(picker);
    ClickLabel(host::Control(info, "NxLblwww"));
    ClickLabel(host::Control(info, "NxLblemail"));
    // The donation label lies over the picture and takes its clicks.
    ClickLabel(host::Control(info, "NxHotLabel1"));
    HWND picture = host::Control(info, "Image2");
    POINT centre = {40, 15};
    MapWindowPoints(picture, GetParent(picture), &centre, 1);
    HWND hit = ChildWindowFromPointEx(GetParent(picture), centre, CWP_SKIPINVISIBLE);
    if (host::NameOf(hit) != "NxHotLabel1") throw std::runtime_error("picture not covered");
    CloseInfo(info);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  const auto calls = TakeShellCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].file, "www.example.com");
  EXPECT_EQ(calls[1].file, "mailto:fehler@example.com");
  EXPECT_EQ(calls[2].file, kDonationURL);
  for (const ShellCall& c : calls) {
    EXPECT_EQ(c.owner, info);
    EXPECT_FALSE(c.has_operation);
    EXPECT_FALSE(c.has_parameters);
    EXPECT_FALSE(c.has_directory);
    EXPECT_EQ(c.show, SW_SHOWNORMAL);
  }
}

TEST_F(InfoE2E, ShellFailureIsReportedAndTheDialogStays) {
  g_shell_result = 32;  // 32 is still a failure
  std::string box_text;
  bool open_after_box = false;
  const std::string failure = RunPicker(Plugin(), [&](HWND picker) {
    HWND info = OpenInfo(picker);
    ClickLabel(host::Control(info, "NxLblwww"));
    HWND box = host::WaitForWindow("Runefold", 5000);
    if (!box) throw std::runtime_error("no error box");
    if (HWND text = GetDlgItem(box, 0xFFFF)) box_text = host::GetText(text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    host::WaitForWindowGone(box, 5000);
    open_after_box = IsWindowVisible(info) != FALSE;
    CloseInfo(info);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  EXPECT_EQ(box_text, "Can't access URL \"www.example.com\".");
  EXPECT_TRUE(open_after_box);
  EXPECT_EQ(TakeShellCalls().size(), 1u);
}

TEST_F(InfoE2E, CursorOverALabelIsTheHand) {
  HCURSOR hand = LoadCursorA(Plugin().module, "HOTLABEL_HANDCUR");
  ASSERT_NE(hand, nullptr);
  ICONINFO info_hot = {};
  ASSERT_TRUE(GetIconInfo(hand, &info_hot));
  EXPECT_EQ(info_hot.xHotspot, 6u);
  EXPECT_EQ(info_hot.yHotspot, 0u);
  if (info_hot.hbmMask) DeleteObject(info_hot.hbmMask);
  if (info_hot.hbmColor) DeleteObject(info_hot.hbmColor);

  std::vector<std::string> wrong;
  const std::string failure = RunPicker(Plugin(), [&](HWND picker) {
    HWND info = OpenInfo(picker);
    const DWORD gui = GetWindowThreadProcessId(info, nullptr);
    AttachThreadInput(GetCurrentThreadId(), gui, TRUE);
    // The cursor the dialog sets for a control. The pointer's own moves,
    // which reach the dialog late through the X server on a busy machine,
    // can set another in between: a reading is taken again, a few times.
    auto shows = [&](const char* name, HCURSOR want) {
      HWND control = host::Control(info, name);
      for (int tries = 0; tries < 5; ++tries) {
        host::Sync(info);
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        if ((GetCursor() == hand) == (want == hand)) return true;
      }
      return false;
    };
    for (const char* name : {"NxLblwww", "NxLblemail", "NxHotLabel1"})
      if (!shows(name, hand)) wrong.push_back(name);
    // A plain label keeps the arrow.
    if (!shows("LblInternet", nullptr)) wrong.push_back("LblInternet");
    AttachThreadInput(GetCurrentThreadId(), gui, FALSE);
    CloseInfo(info);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  EXPECT_TRUE(wrong.empty()) << wrong.front();
}

TEST_F(InfoE2E, DialogOutlivesThePickerAndBlocksASecondOne) {
  HWND info = nullptr;
  std::string failure = RunPicker(Plugin(), [&](HWND picker) {
    info = OpenInfo(picker);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  ASSERT_TRUE(IsWindow(info));
  EXPECT_TRUE(IsWindowVisible(info));

  // The host's own loop: the links still answer.
  failure = PumpWhile([&] { ClickLabel(host::Control(info, "NxLblemail")); });
  ASSERT_EQ(failure, "");
  const auto calls = TakeShellCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].file, "mailto:fehler@example.com");

  // The next run cannot open a second one; OK there closes the first.
  std::size_t dialogs = 0;
  failure = RunPicker(Plugin(), [&](HWND picker) {
    host::PressButton(host::Control(picker, "BtnInfo"));
    dialogs = InfoDialogs().size();
    CloseInfo(info);
    host::PressButton(host::Control(picker, "BtnAbbruch"));
  });
  ASSERT_EQ(failure, "");
  EXPECT_EQ(dialogs, 1u);
  EXPECT_FALSE(IsWindow(info));
}

TEST(InfoUnload, OpenDialogIsDestroyedWithTheModule) {
  HWND info = nullptr;
  {
    ModuleCopy copy;
    const std::string failure = RunPicker(copy.plugin, [&](HWND picker) {
      info = OpenInfo(picker);
      host::PressButton(host::Control(picker, "BtnAbbruch"));
    });
    ASSERT_EQ(failure, "");
    ASSERT_TRUE(IsWindow(info));
  }
  EXPECT_FALSE(IsWindow(info));
}

}  // namespace
}  // namespace rf::test
