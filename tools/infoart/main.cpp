// Writes the info dialog's artwork into the resources folder:
//   infoart <resources folder>
// giving icons/Runefold.ico, icons/hand.cur, pictures/Image2.pic and the
// donation button at the larger scales, pictures/Image2_125.pic and on.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/infoart/info_art.h"

namespace {

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "infoart: cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: infoart <resources folder>\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  try {
    bool ok = Write(root / "icons" / "Runefold.ico", rf::infoart::IconFile()) &&
              Write(root / "icons" / "hand.cur", rf::infoart::HandCursorFile()) &&
              Write(root / "pictures" / "Image2.pic", rf::infoart::DonationPictureProperty());
    for (const int step : rf::fw::kScaleSteps) {
      if (step == 100 || !ok) continue;
      ok = Write(root / "pictures" / ("Image2_" + std::to_string(step) + ".pic"),
                 rf::infoart::DonationPictureProperty(rf::fw::Scale(step)));
    }
    return ok ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "infoart: %s\n", e.what());
    return 1;
  }
}
