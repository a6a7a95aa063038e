// The shared decoder suite's pictures of several images, composed by the
// painter's rules in memory (one pass, transparency on, over a transparent
// destination) and compared with the suite's expected frames. Where this
// codec's rules knowingly differ, the case is listed with the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gif/anim/rgbacompose.h"
#include "gif/gifimage.h"
#include "tests/support/suite_conf.h"

namespace rf::gif {
namespace {

namespace fs = std::filesystem;
using Ini = rf::test::SuiteConf;

const fs::path kSuite = rf::test::SuiteFolder();

Ini ReadIni(const fs::path& path) {
  return rf::test::ReadSuiteConf(path);
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  return rf::test::ReadFileBytes(path);
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out;
  std::stringstream in(s);
  std::string item;
  while (std::getline(in, item, ',')) out.push_back(item);
  return out;
}

// Cases with images that have no graphic control extension: this codec
// shows every image as a frame of its own (for 10 hundredths), while the
// suite draws such an image together with the images after it, up to one
// that has a delay. The composed frames at the images with an extension
// (and at the last image) are compared.
const std::map<std::string, std::string> kImagesMerged = {
    {"images-combine", "four images without extensions: one combined frame"},
    {"images-overlap", "two images without extensions: one combined frame"},
    {"high-color", "tiles of 256 colours each, without extensions: one frame"},
    {"dispose-restore-previous", "a background image without extension comes first"},
    {"animation-multi-image", "every second image has no extension"},
    {"animation-multi-image-explicit-zero-delay", "every second image has delay 0"},
};

std::string Describe(const TRGBAImage& img) {
  std::ostringstream out;
  out << std::hex;
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) out << img.At(x, y) << ' ';
    out << '/';
  }
  return out.str();
}

TEST(SuiteAnimations, ComposedFramesMatchTheExpectedOnes) {
  if (!fs::exists(kSuite / "TESTS"))
    GTEST_SKIP() << "shared GIF test suite not found at " << kSuite;
  std::ifstream list(kSuite / "TESTS");
  std::string name;
  int checked = 0;
  while (std::getline(list, name)) {
    if (name.empty()) continue;
    Ini conf = ReadIni(kSuite / (name + ".conf"));
    const auto& config = conf["config"];
    if (!config.count("input") || !config.count("frames")) continue;
    TGIFImage image;
    try {
      image.LoadFromBytes(ReadBytes(kSuite / config.at("input")));
    } catch (const std::exception&) {
      continue;  // read failures are the reading tests' business
    }
    if (image.Images().Count() < 2) continue;
    const std::vector<std::string> frames = Split(config.at("frames"));
    TRGBAPlayOptions options;
    options.run.repeat = false;  // one pass
    const int w = std::stoi(config.at("width"));
    const int h = std::stoi(config.at("height"));
    ASSERT_EQ(w, image.Width()) << name;
    const TRGBAPlayback out = PlayToRGBA(image, TRGBAImage(w, h, 0), options, 0x000000FF);
    SCOPED_TRACE(name);
    std::vector<const TRGBAImage*> compare;
    if (kImagesMerged.count(name)) {
      for (std::size_t i = 0; i < out.frames.size(); ++i) {
        const auto& frame = image.Images()[static_cast<std::size_t>(out.indexes[i])];
        const bool last = i + 1 == out.frames.size();
        const auto* gce = frame.GraphicControlExtension();
        if (last || (gce != nullptr && gce->Delay() != 0)) compare.push_back(&out.frames[i]);
      }
    } else {
      for (const auto& f : out.frames) compare.push_back(&f);
    }
    ASSERT_EQ(compare.size(), frames.size());
    for (std::size_t i = 0; i < compare.size(); ++i) {
      const auto& section = conf[frames[i]];
      ASSERT_TRUE(section.count("pixels")) << frames[i];
      const std::vector<std::uint8_t> expected = ReadBytes(kSuite / section.at("pixels"));
      TRGBAImage want(w, h);
      ASSERT_EQ(expected.size(), want.rgba.size()) << frames[i];
      want.rgba = expected;
      EXPECT_EQ(compare[i]->rgba, want.rgba)
          << frames[i] << ": got " << Describe(*compare[i]) << " want " << Describe(want);
      ++checked;
    }
  }
  EXPECT_GT(checked, 20);
}

TEST(SuiteAnimations, DelaysAreWaitedAsTheFramesSay) {
  if (!fs::exists(kSuite / "TESTS"))
    GTEST_SKIP() << "shared GIF test suite not found at " << kSuite;
  // The wait before each frame is the delay of the frame before it; the
  // suite's delays are hundredths. Frames without delays wait 10.
  struct Case {
    const char* name;
    std::vector<int> units;
  };
  const Case cases[] = {
      {"animation-speed", {0, 25, 50, 100}},
      {"animation", {0, 50, 50, 50}},
      {"animation-no-delays", {0, 10, 10, 10}},
      {"animation-zero-delays", {0, 10, 10, 10}},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    image.LoadFromBytes(ReadBytes(kSuite / (std::string(c.name) + ".gif")));
    TRGBAPlayOptions options;
    options.run.repeat = false;
    const auto out =
        PlayToRGBA(image, TRGBAImage(image.Width(), image.Height(), 0), options, 0x000000FF);
    EXPECT_EQ(out.units, c.units) << c.name;
  }
}

}  // namespace
}  // namespace rf::gif
