// Runs the real Runefold.dll as a host does: a private copy in a folder of
// its own (with the configuration file the test gives), pluginStart on this
// thread, the dialog driven from a second thread.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/driver.h"

namespace rf::test {

inline constexpr const char* kPickerCaption = "Erweiterter Zeichensatz für html";

// Path of a file of the source tree or of the build's bin folder.
std::string SourcePath(const std::string& relative);
std::string BuiltModulePath();
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// The delivered configuration file.
std::string DeliveredConfig();

struct RunResult {
  std::string text;                   // what pluginStart returned
  std::int32_t kind = -1;             // pluginRueckgabetyp afterwards
  std::int32_t size_word = 0;         // the block's size word
  std::vector<std::string> messages;  // texts of the "Fehler" boxes, in order
  bool script_ok = false;
};

class PluginCopy {
 public:
  // config: contents of Runefold.cfg beside the module; nullptr: no file.
  explicit PluginCopy(const std::string* config);
  ~PluginCopy();
  PluginCopy(const PluginCopy&) = delete;
  PluginCopy& operator=(const PluginCopy&) = delete;

  const std::string& Folder() const { return folder_; }
  std::string ConfigPath() const { return folder_ + "\\Runefold.cfg"; }
  host::Plugin& Plugin() { return plugin_; }

  // How the load's error boxes are answered.
  enum class BoxWay { kOkButton, kEnter, kEscape, kClose };
  // One run: answers the load's error boxes, then runs the script on the
  // dialog. The script ends the dialog itself.
  RunResult Run(const std::function<void(HWND dialog)>& script, BoxWay boxes = BoxWay::kOkButton);

 private:
  std::string folder_;
  host::Plugin plugin_;
};

// A fresh private copy of the module with the delivered configuration for
// each test.
class DeliveredPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config_ = DeliveredConfig();
    ASSERT_FALSE(config_.empty()) << "data/Runefold.cfg not found";
    copy_ = std::make_unique<PluginCopy>(&config_);
  }
  std::string config_;
  std::unique_ptr<PluginCopy> copy_;
};

// The screen's LOGPIXELSY: the DPI Wine's LogPixels sets for the run.
int ScreenDpi();
// A file in the build's artifacts folder (made when missing).
std::string ArtifactPath(const std::string& file);

// Moves the pointer to the screen's corner, away from the dialogs.
void ParkPointer();
// Presses the OK button of a message box (or of our own message dialog).
void ConfirmBox(HWND box);
// Text of a message box or of our own message dialog.
std::string BoxText(HWND box);
// Waits for a top-level window of this process with one of the captions.
HWND WaitForAnyWindow(const std::vector<std::string>& captions, std::string* which,
                      int timeout_ms = 15000);

}  // namespace rf::test
