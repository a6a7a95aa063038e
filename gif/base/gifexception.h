// The codec's error. Every failure of reading, writing or drawing a GIF is
// reported as a GIFException whose message is the codec's English text.
#pragma once

#include <stdexcept>
#include <string>

namespace rf::gif {

class GIFException : public std::runtime_error {
 public:
  explicit GIFException(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace rf::gif
