// The module's main source: load and unload, and the three exports.
#include "plugin/Runefold.h"

#include <memory>

#include "chardata/result.h"
#include "chardata/win32_profile_file.h"
#include "framework/application.h"
#include "info/Info.h"
#include "picker/CharSet.h"
#include "plugin/ModuleStart.h"
#include "plugin/ResultBlock.h"

extern "C" std::int32_t WINAPI pluginInterfaceVersion() {
  return 1;
}

extern "C" std::int32_t WINAPI pluginRueckgabetyp() {
  return rf::chardata::ResultKind;
}

extern "C" char* WINAPI pluginStart(std::int32_t, std::int32_t, std::int32_t) {
  std::unique_ptr<rf::picker::TTCharSet> dialog;
  try {
    rf::chardata::Win32ProfileFile profile;
    dialog = std::make_unique<rf::picker::TTCharSet>(profile);
    dialog->RunCreate();
    dialog->ShowModal();
    char* block = rf::plugin::NewResultBlock(rf::chardata::ResultText);
    dialog.reset();
    return block;
  } catch (...) {
    rf::chardata::ResultKind = 0;
    try {
      dialog.reset();
    } catch (...) {
    }
    return rf::plugin::EmptyResultText();
  }
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  try {
    if (reason == DLL_PROCESS_ATTACH) {
      rf::plugin::ModuleStart();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
      // Unloaded by FreeLibrary: tear down what still lives. At process
      // exit the system reclaims everything and windows are already gone.
      rf::info::DestroyInfoDialog();
      rf::plugin::ModuleStop();
      rf::fw::Application::Instance().Shutdown();
    }
  } catch (...) {
    return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
  }
  return TRUE;
}
