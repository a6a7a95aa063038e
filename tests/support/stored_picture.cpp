#include "tests/support/stored_picture.h"

#include <cstdint>
#include <span>

#include "gif/gifimage.h"
#include "tests/picker_win/plugin_fixture.h"

namespace rf::test {

Picture StoredPictureFile(const std::string& relative_path) {
  const std::string bytes = ReadFile(SourcePath(relative_path));
  Picture p;
  if (bytes.empty()) return p;
  const std::size_t prefix = 1 + static_cast<std::uint8_t>(bytes[0]);
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  gif::TGIFImage image;
  image.LoadFromBytes(std::span<const std::uint8_t>(data + prefix, bytes.size() - prefix));
  const auto& frame = image.Images()[0];
  const auto& colors = image.GlobalColorMap();
  p.width = frame.Width();
  p.height = frame.Height();
  for (const std::uint8_t index : frame.Pixels()) {
    const gif::TGIFColor c = colors[index];
    p.pixels.push_back(RGB(c.red, c.green, c.blue));
  }
  return p;
}

}  // namespace rf::test
