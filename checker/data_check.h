// Checks a data file as the module reads it: the whole load runs over the
// portable profile reader with a stand-in dialog that records its boxes,
// and the file's own parse gives each finding its line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace rf::checker {

struct Finding {
  std::size_t file_line = 0;  // from 1; 0: the file as a whole
  std::string text;           // the checker's explanation
  // The plug-in's own message where it shows one, else empty; `caption` is
  // its box's.
  std::string message;
  std::string caption;
};

struct Report {
  bool readable = true;
  std::vector<Finding> findings;  // in the order the plug-in meets them
  // The bad-data boxes the load showed, in order, as recorded.
  std::vector<std::string> load_messages;

  // 0: loads without a message and can be written back; 1: otherwise;
  // 2: unreadable.
  int ExitStatus() const;
  // The findings' messages, in order.
  std::vector<std::string> Messages() const;
};

// `path` as the platform names files (on Windows also "C:\\...").
Report CheckDataFile(const std::string& path);

}  // namespace rf::checker
