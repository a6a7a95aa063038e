// The demo animation: the committed file is what the generator makes, and
// it plays as drawn (background, the seal's steps, the last one wiped).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gif/anim/rgbacompose.h"
#include "gif/gifimage.h"
#include "tools/animart/anim_art.h"

namespace rf::tools {
namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AnimationArt, CommittedFileIsTheGeneratorsOutput) {
  const auto committed =
      ReadFile(std::filesystem::path(RF_SOURCE_DIR) / "host" / "runefold-animation.gif");
  ASSERT_FALSE(committed.empty());
  EXPECT_EQ(committed, MakeAnimationGif()) << "run the animart_update target";
}

TEST(AnimationArt, PlaysTheSealOverTheParchmentAndLeavesItClean) {
  gif::TGIFImage image;
  image.LoadFromBytes(MakeAnimationGif());
  ASSERT_EQ(image.Images().Count(), static_cast<std::size_t>(kAnimSteps + 1));
  gif::TRGBAPlayOptions options;
  options.run.repeat = false;
  const auto out = gif::PlayToRGBA(image, gif::TRGBAImage(kAnimWidth, kAnimHeight, 0), options,
                                   gif::OpaqueFromColorValue(image.BackgroundColor()));
  ASSERT_EQ(out.frames.size(), static_cast<std::size_t>(kAnimSteps + 1));
  const gif::TRGBAImage& background = out.frames[0];
  // Each step differs from the parchment only where the seal is: the step
  // before it was taken back.
  for (int step = 1; step <= kAnimSteps; ++step) {
    const auto& frame = image.Images()[static_cast<std::size_t>(step)];
    int changed = 0;
    for (int y = 0; y < kAnimHeight; ++y)
      for (int x = 0; x < kAnimWidth; ++x) {
        if (out.frames[static_cast<std::size_t>(step)].At(x, y) == background.At(x, y)) continue;
        ++changed;
        EXPECT_TRUE(x >= frame.Left() && x < frame.Left() + frame.Width() && y >= frame.Top() &&
                    y < frame.Top() + frame.Height())
            << "step " << step << " at " << x << "," << y;
      }
    EXPECT_GT(changed, 50) << "step " << step;
  }
}

}  // namespace
}  // namespace rf::tools
