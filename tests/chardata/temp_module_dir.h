// A temporary folder holding a module path and its configuration file.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace rf::chardata::testing {

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
