// A dialog stand-in that records what the loader and the choices do to it,
// and a temporary folder holding a module path and its configuration file.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "chardata/configuration_host.h"

namespace rf::chardata::testing {

struct FakeHost : ConfigurationHost {
  int output_kind = 0;
  TCharTableKind shown = ctISO8859_3;
  int show_calls = 0;
  std::map<int, std::pair<std::string, std::string>> captions;
  std::vector<std::string> messages;
  BoxAnswer answer = BoxAnswer::kClosed;
  std::vector<bool> cursor;  // every SetHourglass call
  std::string module;

  int OutputKindIndex() const override { return output_kind; }
  void SetOutputKindIndex(int index) override { output_kind = index; }
  TCharTableKind ShownTable() const override { return shown; }
  void ShowTable(TCharTableKind kind) override {
    shown = kind;
    ++show_calls;
  }
  void SetUserFormCaptions(int k, const std::string& item, const std::string& label) override {
    captions[k] = {item, label};
  }
  BoxAnswer ShowErrorBox(const std::string& text) override {
    messages.push_back(text);
    return answer;
  }
  void SetHourglass(bool on) override { cursor.push_back(on); }
  std::string PluginModuleFileName() const override { return module; }
};

// A fresh folder per test; the module "lies" in it, so its configuration
// file is dir/Runefold.cfg. The path is given the Windows way.
class TempModuleDir {
 public:
  TempModuleDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "rfcdXXXXXX").string();
    dir_ = ::mkdtemp(tmpl.data());
  }
  ~TempModuleDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string ModulePath() const { return dir_ + "\\Runefold.dll"; }
  std::string ConfigPath() const { return dir_ + "/Runefold.cfg"; }
  void WriteConfig(const std::string& bytes) const {
    std::ofstream(ConfigPath(), std::ios::binary) << bytes;
  }
  std::string ReadConfig() const {
    std::ifstream in(ConfigPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  const std::string& Dir() const { return dir_; }

 private:
  std::string dir_;
};

}  // namespace rf::chardata::testing
