// giflib as a second reader: for every stream that both read, the same
// screen, colour tables, frame bounds and pixel indexes. Streams: the shared
// suite and benchmark pictures, pictures written by giflib, and pictures of
// our test encoder (short sub-blocks, frequent clears, full tables).
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "gif/gifimage.h"
#include "gif_test_streams.h"
#include "tests/support/giflib_memory.h"

namespace rf::gif::test {
namespace {

namespace fs = std::filesystem;

std::vector<TGIFColor> Colors(const ColorMapObject* map) {
  std::vector<TGIFColor> out;
  if (map == nullptr) return out;
  for (int i = 0; i < map->ColorCount; ++i) {
    out.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
  }
  return out;
}

std::vector<TGIFColor> Colors(const TGIFColorMap& map) {
  return {map.Colors().begin(), map.Colors().end()};
}

// Compares when both read the stream; answers whether they did.
bool CompareWithGiflib(const Bytes& data) {
  rf::test::GiflibMemorySource source(data);
  int error = 0;
  GifFileType* gif = source.Open(&error);
  if (gif == nullptr) return false;
  bool giflib_ok = DGifSlurp(gif) == GIF_OK;
  TGIFImage image;
  bool ours_ok = true;
  try {
    image.LoadFromBytes(data);
  } catch (const GIFException&) {
    ours_ok = false;
  }
  if (giflib_ok && ours_ok) {
    EXPECT_EQ(image.Width(), gif->SWidth);
    EXPECT_EQ(image.Height(), gif->SHeight);
    EXPECT_EQ(Colors(image.GlobalColorMap()), Colors(gif->SColorMap));
    std::vector<const TGIFSubImage*> frames;
    for (const auto& f : image.Images()) {
      if (!f->Empty()) frames.push_back(f.get());
    }
    EXPECT_EQ(frames.size(), static_cast<std::size_t>(gif->ImageCount));
    for (std::size_t k = 0; k < frames.size() && k < static_cast<std::size_t>(gif->ImageCount);
         ++k) {
      SCOPED_TRACE(k);
      const SavedImage& theirs = gif->SavedImages[k];
      const TGIFSubImage& ours = *frames[k];
      EXPECT_EQ(ours.Left(), theirs.ImageDesc.Left);
      EXPECT_EQ(ours.Top(), theirs.ImageDesc.Top);
      EXPECT_EQ(ours.Width(), theirs.ImageDesc.Width);
      EXPECT_EQ(ours.Height(), theirs.ImageDesc.Height);
      if (ours.Width() != theirs.ImageDesc.Width || ours.Height() != theirs.ImageDesc.Height) {
        continue;
      }
      EXPECT_EQ(Colors(ours.ColorMap()), Colors(theirs.ImageDesc.ColorMap));
      const std::size_t n = ours.Pixels().size();
      EXPECT_EQ(Bytes(ours.Pixels().begin(), ours.Pixels().end()),
                Bytes(theirs.RasterBits, theirs.RasterBits + n));
    }
  }
  DGifCloseFile(gif, &error);
  return giflib_ok && ours_ok;
}

int Writer(GifFileType* gif, const GifByteType* buf, int size) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), buf, buf + size);
  return size;
}

// A picture of random frames written by giflib's encoder.
Bytes GiflibPicture(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, Writer, &error);
  const int bits = pick(1, 8);
  const int screen_w = pick(1, 120), screen_h = pick(1, 90);
  std::vector<GifColorType> colors(1u << bits);
  for (auto& c : colors)
    c = {GifByteType(pick(0, 255)), GifByteType(pick(0, 255)), GifByteType(pick(0, 255))};
  ColorMapObject* map = GifMakeMapObject(1 << bits, colors.data());
  EGifPutScreenDesc(gif, screen_w, screen_h, bits, 0, map);
  for (int frames = pick(1, 3); frames > 0; --frames) {
    const int w = pick(1, screen_w), h = pick(1, screen_h);
    const bool interlaced = pick(0, 1) == 1;
    ColorMapObject* local = pick(0, 3) == 0 ? GifMakeMapObject(1 << bits, colors.data()) : nullptr;
    EGifPutImageDesc(gif, pick(0, screen_w - w), pick(0, screen_h - h), w, h, interlaced, local);
    const int run = pick(1, 30);
    std::vector<GifPixelType> line(static_cast<std::size_t>(w));
    GifPixelType c = 0;
    for (int y = 0; y < h; ++y) {
      for (auto& p : line) {
        if (pick(1, run) == 1) c = static_cast<GifPixelType>(pick(0, (1 << bits) - 1));
        p = c;
      }
      EGifPutLine(gif, line.data(), w);
    }
    if (local != nullptr) GifFreeMapObject(local);
    // giflib keeps its own copy of a local table and does not free it.
    if (gif->Image.ColorMap != nullptr) {
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(GiflibDiff, SharedPicturesReadAlike) {
  int files = 0, compared = 0;
  for (const char* folder : {"gif-test-suite", "gif-bench"}) {
    fs::path dir = fs::path(RF_SHARED_DIR) / folder;
    if (!fs::exists(dir)) GTEST_SKIP() << "no shared pictures at " << dir;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() != ".gif") continue;
      SCOPED_TRACE(entry.path().string());
      std::ifstream file(entry.path(), std::ios::binary);
      Bytes data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
      ++files;
      if (CompareWithGiflib(data)) ++compared;
    }
  }
  EXPECT_GE(compared, files * 3 / 4) << compared << " of " << files;
}

TEST(GiflibDiff, GiflibPicturesReadAlike) {
  std::mt19937 rng(99);
  for (int i = 0; i < 300; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(CompareWithGiflib(GiflibPicture(rng)));
  }
}

TEST(GiflibDiff, OurEncoderPicturesReadAlike) {
  std::mt19937 rng(5);
  for (int i = 0; i < 200; ++i) {
    SCOPED_TRACE(i);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    EncodeOptions options;
    options.min_code_size = pick(2, 8);
    options.block_size = static_cast<std::size_t>(pick(1, 255));
    options.clear_every = pick(0, 2) == 0 ? pick(1, 500) : 0;
    const int w = pick(1, 150), h = pick(1, 100);
    Bytes pixels(static_cast<std::size_t>(w * h));
    const int run = pick(1, 50);
    std::uint8_t c = 0;
    for (auto& p : pixels) {
      if (pick(1, run) == 1)
        c = static_cast<std::uint8_t>(pick(0, (1 << options.min_code_size) - 1));
      p = c;
    }
    EXPECT_TRUE(CompareWithGiflib(SingleFrame(w, h, pixels, options, pick(0, 1) == 1)));
  }
}

}  // namespace
}  // namespace rf::gif::test
