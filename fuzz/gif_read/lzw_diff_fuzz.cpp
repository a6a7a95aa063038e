// Any bytes as one frame's image data: the fast decoder must give what the
// plain one gives (pixels, stream position, warnings, error). Input: width,
// height, flags (bit 0 interlaced), fill value, then the data from the
// minimum code size byte on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/base/gifexception.h"
#include "gif/read/lzwdecoder.h"
#include "gif/read/lzwreference.h"

namespace {

struct Outcome {
  std::vector<std::uint8_t> pixels;
  std::size_t position = 0;
  std::vector<std::string> warnings;
  std::string error;
};

Outcome Run(bool fast, const std::uint8_t* data, std::size_t size,
            const rf::gif::LzwFrameLayout& layout) {
  using namespace rf::gif;
  Outcome o;
  o.pixels.assign(layout.width * layout.height + kLzwOutputSlack, 0);
  GIFInputStream in({data, size});
  LzwWarningSink warn = [&](const char* m) { o.warnings.emplace_back(m); };
  try {
    if (fast) {
      DecodeLzwFrame(in, layout, o.pixels.data(), warn);
    } else {
      DecodeLzwFrameReference(in, layout, o.pixels.data(), warn);
    }
  } catch (const GIFException& e) {
    o.error = e.what();
  }
  o.pixels.resize(layout.width * layout.height);
  o.position = in.Position();
  return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  rf::gif::LzwFrameLayout layout;
  layout.width = data[0];
  layout.height = data[1];
  layout.interlaced = (data[2] & 1) != 0;
  layout.fill = data[3];
  Outcome fast = Run(true, data + 4, size - 4, layout);
  Outcome plain = Run(false, data + 4, size - 4, layout);
  if (fast.error != plain.error || fast.warnings != plain.warnings) __builtin_trap();
  // After an error the frame and the position are not used.
  if (fast.error.empty() && (fast.pixels != plain.pixels || fast.position != plain.position)) {
    __builtin_trap();
  }
  return 0;
}
