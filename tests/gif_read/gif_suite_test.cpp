// The shared GIF decoder test suite: every case is read, and its screen
// size, loop count, buffer size, frame delays and (for pictures that show as
// one frame) the composed pixels are compared with the case's description.
// Where this codec knowingly reads a case differently, the difference and
// its reason are listed below and checked as such.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "tests/support/suite_conf.h"

namespace rf::gif::test {
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

struct Known {
  const char* reason;
  const char* error;   // this codec's error, or "" when it reads the case
  std::size_t frames;  // frames this codec reads
};

const std::map<std::string, Known> kKnownDifferences = {
    {"no-data", {"no image at all; the suite shows the empty screen as a frame", "", 0}},
    {"image-zero-width",
     {"no image data after the descriptor: the trailer byte is the minimum code size 59",
      msg::kClearCodeTooLarge, 0}},
    {"image-zero-height",
     {"the descriptor announces a local colour table that is not there", msg::kPrematureEnd, 0}},
    {"image-zero-size",
     {"the descriptor announces a local colour table that is not there", msg::kPrematureEnd, 0}},
    {"unknown-extension",
     {"labels that the extension registry does not hold stop reading", msg::kUnknownExtension, 0}},
    {"invalid-code",
     {"the suite's reader refuses a code beyond the table; this decoder takes it as the string "
      "being defined",
      "", 1}},
    {"invalid-colors",
     {"the suite's reader refuses indexes beyond the colour table; they are kept here", "", 1}},
    {"overflow-codes",
     {"minimum code size 12 (both readers refuse the frame)", msg::kClearCodeTooLarge, 0}},
    {"overflow-codes-max",
     {"minimum code size 12 (both readers refuse the frame)", msg::kClearCodeTooLarge, 0}},
    {"gif87a-animation",
     {"GIF87a has no loop extension; the suite's player loops such animations forever", "", 4}},
    {"plain-text",
     {"the suite's reader refuses plain text; it is kept (and not drawn) here", "", 1}},
};

struct Shown {
  std::vector<const TGIFSubImage*> frames;
  int delay = -1;  // -1: no graphic control extension
};

// Frames as the suite counts them: images up to one with a delay show as
// one frame; with force-animation every image is one.
std::vector<Shown> ShownFrames(const TGIFImage& image, bool force) {
  std::vector<Shown> shown(1);
  for (const auto& frame : image.Images()) {
    if (frame->Empty()) continue;
    shown.back().frames.push_back(frame.get());
    const TGIFGraphicControlExtension* gce = frame->GraphicControlExtension();
    shown.back().delay = gce != nullptr ? gce->Delay() : -1;
    if (force || shown.back().delay > 0) shown.emplace_back();
  }
  if (shown.back().frames.empty()) shown.pop_back();
  return shown;
}

std::vector<std::uint8_t> Compose(const TGIFImage& image, const Shown& shown) {
  const std::size_t w = static_cast<std::size_t>(image.Width());
  const std::size_t h = static_cast<std::size_t>(image.Height());
  std::vector<std::uint8_t> rgba(w * h * 4, 0);
  for (const TGIFSubImage* f : shown.frames) {
    const TGIFColorMap& map = f->ActiveColorMap();
    for (int y = 0; y < f->Height(); ++y) {
      for (int x = 0; x < f->Width(); ++x) {
        std::size_t sx = static_cast<std::size_t>(f->Left() + x);
        std::size_t sy = static_cast<std::size_t>(f->Top() + y);
        if (sx >= w || sy >= h) continue;
        std::uint8_t index = f->Pixels()[static_cast<std::size_t>(y * f->Width() + x)];
        if (f->Transparent() && index == f->TransparentIndex()) continue;
        TGIFColor c = index < map.Count() ? map[index] : TGIFColor{};
        std::uint8_t* p = &rgba[(sy * w + sx) * 4];
        p[0] = c.red;
        p[1] = c.green;
        p[2] = c.blue;
        p[3] = 255;
      }
    }
  }
  return rgba;
}

TEST(GifSuite, EveryCaseReadsAsDescribed) {
  if (!fs::exists(kSuite / "TESTS")) GTEST_SKIP() << "no GIF test suite at " << kSuite;
  std::ifstream list(kSuite / "TESTS");
  std::string name;
  int cases = 0, pixels_compared = 0;
  while (std::getline(list, name)) {
    if (name.empty() || name[0] == '#') continue;
    SCOPED_TRACE(name);
    ++cases;
    Ini ini = ReadIni(kSuite / (name + ".conf"));
    auto& config = ini["config"];
    TGIFImage image;
    std::string error;
    try {
      image.LoadFromFile((kSuite / config["input"]).string());
    } catch (const GIFException& e) {
      error = e.what();
    }
    if (auto known = kKnownDifferences.find(name); known != kKnownDifferences.end()) {
      SCOPED_TRACE(known->second.reason);
      EXPECT_EQ(error, known->second.error);
      EXPECT_EQ(image.Images().Count(), known->second.frames);
      continue;
    }
    EXPECT_EQ(error, "");
    if (!error.empty()) continue;
    EXPECT_EQ(image.Width(), std::stoi(config["width"]));
    EXPECT_EQ(image.Height(), std::stoi(config["height"]));

    const TGIFAppExtNSLoop* loop = image.LoopExtension();
    std::string loops = loop == nullptr          ? "0"
                        : loop->LoopCount() == 0 ? "infinite"
                                                 : std::to_string(loop->LoopCount());
    EXPECT_EQ(loops, config["loop-count"]);
    if (config.count("buffer-size")) {
      ASSERT_NE(loop, nullptr);
      EXPECT_EQ(std::to_string(loop->BufferSize()), config["buffer-size"]);
    }

    std::vector<std::string> expected;
    std::stringstream frames(config["frames"]);
    for (std::string f; std::getline(frames, f, ',');) {
      if (!f.empty()) expected.push_back(f);
    }
    std::vector<Shown> shown = ShownFrames(image, config["force-animation"] == "yes");
    EXPECT_EQ(shown.size(), expected.size());
    if (shown.size() != expected.size()) continue;
    for (std::size_t k = 0; k < shown.size(); ++k) {
      auto& section = ini[expected[k]];
      // The suite leaves out delays of 0.
      if (section.count("delay")) {
        EXPECT_EQ(std::to_string(shown[k].delay), section["delay"]);
      } else {
        EXPECT_LE(shown[k].delay, 0);
      }
    }
    if (shown.size() == 1 && ini[expected[0]].count("pixels")) {
      EXPECT_EQ(Compose(image, shown[0]), ReadBytes(kSuite / ini[expected[0]]["pixels"]));
      ++pixels_compared;
    }
  }
  EXPECT_EQ(cases, 84);
  EXPECT_GE(pixels_compared, 50);
}

}  // namespace
}  // namespace rf::gif::test
