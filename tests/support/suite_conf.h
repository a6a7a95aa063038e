// Reading the shared GIF test suite: its .conf files (INI-style sections of
// "key = value" lines) and its pictures. Shared by the reader's and the
// painter's suite tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace rf::test {

using SuiteConf = std::map<std::string, std::map<std::string, std::string>>;

inline const std::filesystem::path& SuiteFolder() {
  static const std::filesystem::path folder =
      std::filesystem::path(RF_SHARED_DIR) / "gif-test-suite";
  return folder;
}

inline SuiteConf ReadSuiteConf(const std::filesystem::path& path) {
  SuiteConf conf;
  std::ifstream file(path);
  std::string line, section;
  auto trim = [](std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
  };
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    conf[section][trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
  }
  return conf;
}

inline std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace rf::test
