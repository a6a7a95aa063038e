#include "host/script.h"

#include <cstdio>
#include <string>
#include <thread>

namespace rf::host {
namespace {

constexpr const char* kPickerCaption = "Erweiterter Zeichensatz für html";

void Shot(HWND window, const std::string& dir, const char* name) {
  const std::string path = dir + "\\" + name;
  if (SavePng(CaptureWindow(window), path)) std::printf("Bildschirmfoto: %s\n", path.c_str());
}

void SaveArea(const std::string& dir, const char* name, const RECT& area) {
  const std::string path = dir + "\\" + name;
  if (SavePng(CaptureScreen(area), path)) std::printf("Bildschirmfoto: %s\n", path.c_str());
}

struct FindNamed {
  const char* name;
  HWND found;
};

BOOL CALLBACK FindNamedProc(HWND hwnd, LPARAM lp) {
  auto* find = reinterpret_cast<FindNamed*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || NameOf(hwnd) != find->name)
    return TRUE;
  find->found = hwnd;
  return FALSE;
}

// A visible top-level window of this process named so in its layout.
HWND ShownWindowNamed(const char* name, int timeout_ms) {
  for (int waited = 0; waited <= timeout_ms; waited += 50) {
    FindNamed f{name, nullptr};
    EnumWindows(FindNamedProc, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    Sleep(50);
  }
  return nullptr;
}

// The screen around the dialog and a popup of it, once both have painted.
void ShotWithPopup(HWND dialog, HWND popup, const std::string& dir, const char* name) {
  CaptureWindow(popup);  // waits until its painting has reached the screen
  RECT a = {}, b = {}, both = {};
  GetWindowRect(dialog, &a);
  GetWindowRect(popup, &b);
  UnionRect(&both, &a, &b);
  SaveArea(dir, name, both);
}

// The search, opened by its key on the result line: a query with several
// results, then closed with Escape, which gives the result line back.
void ShowSearch(HWND dialog, HWND result, const std::string& dir) {
  PostKey(result, VK_F3);
  HWND search = ShownWindowNamed("FrmZeichenSuchen", 5000);
  if (!search) return;
  HWND edit = Control(search, "EdSuche");
  TypeText(edit, "pfeil");
  Sync(search);
  ShotWithPopup(dialog, search, dir, "search.png");
  PostKey(edit, VK_ESCAPE);
  Sync(dialog);
  for (int waited = 0; waited < 5000 && IsWindowVisible(search); waited += 50) Sleep(50);
}

// What the user does: entity output, the ISO 8859-1 table, the pointer
// resting on the cell of the registered sign (its preview), a click, a few
// typed characters, a look at the search, OK.
bool DriveDialog(const std::string& dir, std::string& log) {
  // The pointer rests in a corner, off the dialog, so that only the
  // script's own moves reach the pictures.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  HWND dialog = WaitForWindow(kPickerCaption);
  if (!dialog) {
    log = "Der Dialog ist nicht erschienen";
    return false;
  }
  Sync(dialog);
  Shot(dialog, dir, "picker.png");
  // The about box, beside the picker: one screenshot of it alone and one of
  // the screen with both, then closed with its OK button.
  PressButton(Control(dialog, "BtnInfo"));
  if (HWND info = WaitForWindow("Info", 5000)) {
    RECT p = {}, i = {};
    GetWindowRect(dialog, &p);
    GetWindowRect(info, &i);
    SetWindowPos(info, HWND_TOP, p.right + 8, p.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(dialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    Sync(dialog);
    Sync(info);
    Shot(info, dir, "info.png");
    SaveArea(dir, "picker-and-info.png",
             {p.left, p.top, p.right + 8 + (i.right - i.left), p.bottom});
    PressButton(Control(info, "BtEnde"));
    WaitForWindowGone(info, 5000);
  }
  ChooseItem(Control(dialog, "RGAusgabeTyp"), 4);
  SelectTab(Control(dialog, "PCChar"), 1);
  SelectTab(Control(dialog, "PCiso"), 0);
  HWND picture = Control(dialog, "IISO8859_1");
  // The pointer itself rests on the cell for a moment: its preview opens
  // beside it. Then back to the corner, before the click.
  POINT cell = {40, 60};
  ClientToScreen(picture, &cell);
  SetCursorPos(cell.x, cell.y);
  MouseMove(picture, 40, 60);
  if (HWND preview = ShownWindowNamed("FrmVorschau", 5000))
    ShotWithPopup(dialog, preview, dir, "preview.png");
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  MouseMove(picture, 40, 60);
  log = "Zelle " + GetText(Control(dialog, "EdZeichenNr")) + ": " +
        GetText(Control(dialog, "EdDez")) + " " + GetText(Control(dialog, "EdHex")) + " " +
        GetText(Control(dialog, "EdEntitie"));
  Click(picture, 40, 60);
  HWND result = Control(dialog, "EdRueck");
  TypeText(result, " ok");
  Shot(dialog, dir, "picker-result.png");
  ShowSearch(dialog, result, dir);
  PostKey(result, VK_RETURN);
  return WaitForWindowGone(dialog);
}

}  // namespace

int RunDemoScript(Plugin& plugin, HWND host_window, HWND host_edit, const std::string& shot_dir) {
  bool driven = false;
  std::string log;
  std::thread driver([&] { driven = DriveDialog(shot_dir, log); });
  char* text = plugin.Start(0, 0, 0);
  const int kind = plugin.ResultKind();
  driver.join();
  std::printf("%s\n", log.c_str());
  std::printf("pluginStart lieferte \"%s\", pluginRueckgabetyp %d\n", text, kind);
  if (kind == 1) SendMessageA(host_edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  Shot(host_window, shot_dir, "host.png");
  std::fflush(stdout);
  return driven && kind == 1 ? 0 : 1;
}

}  // namespace rf::host
