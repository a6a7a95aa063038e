// Encoding time and output size of our coders against giflib's encoder on
// the same pixels: a photograph (decoded from the shared benchmark
// pictures), a flat screenshot-like picture and a character-table-like
// grid with glyphs. Counters: bytes of the coded frame and MB/s of pixels.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "gif/write/framecoder.h"
#include "gif/write/gifencoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Picture {
  int width = 0;
  int height = 0;
  int bits = 8;
  Bytes pixels;
};

// The first frame of a shared picture, decoded with giflib.
bool LoadShared(const std::string& name, Picture& pic) {
  const std::string path = std::string(RF_SHARED_DIR) + "/gif-bench/" + name;
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  if (gif == nullptr) return false;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
    DGifCloseFile(gif, &err);
    return false;
  }
  const SavedImage& img = gif->SavedImages[0];
  pic.width = img.ImageDesc.Width;
  pic.height = img.ImageDesc.Height;
  const ColorMapObject* map = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gif->SColorMap;
  pic.bits = map ? map->BitsPerPixel : 8;
  pic.pixels.assign(img.RasterBits,
                    img.RasterBits + static_cast<std::size_t>(pic.width) * pic.height);
  DGifCloseFile(gif, &err);
  return true;
}

// A screenshot: large flat areas, a few framed boxes and text-like lines.
Picture FlatPicture() {
  Picture p{1024, 768, 4, {}};
  p.pixels.assign(static_cast<std::size_t>(p.width) * p.height, 7);
  auto fill = [&](int x0, int y0, int x1, int y1, std::uint8_t c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) p.pixels[static_cast<std::size_t>(y) * p.width + x] = c;
  };
  fill(0, 0, 1024, 24, 1);
  for (int i = 0; i < 6; ++i)
    fill(40 + i * 160, 80, 180 + i * 160, 700, static_cast<std::uint8_t>(8 + i));
  std::mt19937 rng(1);
  for (int line = 0; line < 40; ++line) {
    const int y = 100 + line * 14;
    for (int x = 60; x < 960; x += 7)
      if (rng() % 3) fill(x, y, x + 4, y + 8, 0);
  }
  return p;
}

// A plain picture: a few large single-colour areas.
Picture SolidPicture() {
  Picture p{1024, 768, 4, {}};
  p.pixels.assign(static_cast<std::size_t>(p.width) * p.height, 7);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (y < 24 || (x > 100 && x < 600 && y > 200 && y < 500))
        p.pixels[static_cast<std::size_t>(y) * p.width + x] =
            static_cast<std::uint8_t>(y < 24 ? 1 : 9);
  return p;
}

// A character table: a grid of cells, a glyph-like dot pattern in each.
Picture TablePicture() {
  Picture p{577, 433, 1, {}};
  p.pixels.assign(static_cast<std::size_t>(p.width) * p.height, 1);
  std::mt19937 rng(2);
  for (int cy = 0; cy < 16; ++cy) {
    for (int cx = 0; cx < 16; ++cx) {
      for (int y = 6; y < 21; ++y)
        for (int x = 8; x < 28; ++x)
          if (rng() % 5 == 0)
            p.pixels[static_cast<std::size_t>(cy * 27 + y) * p.width + cx * 36 + x] = 0;
    }
  }
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (x % 36 == 0 || y % 27 == 0) p.pixels[static_cast<std::size_t>(y) * p.width + x] = 0;
  return p;
}

const Picture* GetPicture(const std::string& name) {
  static std::map<std::string, Picture> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second.width ? &it->second : nullptr;
  Picture p;
  if (name == "flat") {
    p = FlatPicture();
  } else if (name == "solid") {
    p = SolidPicture();
  } else if (name == "table") {
    p = TablePicture();
  } else if (!LoadShared(name, p)) {
    p = Picture{};
  }
  return cache.emplace(name, std::move(p)).first->second.width ? &cache[name] : nullptr;
}

int WriteToMemory(GifFileType* gif, const GifByteType* buf, int n) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), buf, buf + n);
  return n;
}

// giflib's encoder writing the same frame (descriptor, data, trailer).
std::size_t GiflibEncode(const Picture& p, Bytes& out) {
  out.clear();
  int err = 0;
  GifFileType* gif = EGifOpen(&out, WriteToMemory, &err);
  const int size = 1 << p.bits;
  std::vector<GifColorType> colors(static_cast<std::size_t>(size));
  ColorMapObject* map = GifMakeMapObject(size, colors.data());
  EGifPutScreenDesc(gif, p.width, p.height, p.bits, 0, map);
  const std::size_t before = out.size();
  EGifPutImageDesc(gif, 0, 0, p.width, p.height, false, nullptr);
  for (int y = 0; y < p.height; ++y) {
    EGifPutLine(gif,
                const_cast<GifPixelType*>(p.pixels.data() + static_cast<std::size_t>(y) * p.width),
                p.width);
  }
  GifFreeMapObject(map);
  EGifCloseFile(gif, &err);
  return out.size() - before - 10 - 1;  // image data only: no descriptor, no trailer
}

void Report(benchmark::State& state, const Picture& p, std::size_t bytes) {
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["MB/s"] = benchmark::Counter(
      static_cast<double>(p.pixels.size()) * static_cast<double>(state.iterations()) / 1e6,
      benchmark::Counter::kIsRate);
}

void BM_Ours(benchmark::State& state, const std::string& name, rf::gif::TGIFCompression c) {
  const Picture* p = GetPicture(name);
  if (p == nullptr) {
    state.SkipWithError(("missing " + name + " in RF_SHARED_DIR/gif-bench").c_str());
    return;
  }
  Bytes out;
  out.reserve(p->pixels.size() * 2);
  for (auto _ : state) {
    out.clear();
    rf::gif::CompressFrame(out, c, p->bits, 1 << p->bits, p->pixels.data(), false, p->height,
                           p->width);
    benchmark::DoNotOptimize(out.data());
  }
  Report(state, *p, out.size());
}

void BM_Giflib(benchmark::State& state, const std::string& name) {
  const Picture* p = GetPicture(name);
  if (p == nullptr) {
    state.SkipWithError(("missing " + name + " in RF_SHARED_DIR/gif-bench").c_str());
    return;
  }
  Bytes out;
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = GiflibEncode(*p, out);
    benchmark::DoNotOptimize(out.data());
  }
  Report(state, *p, bytes);
}

void RegisterAll() {
  const char* pictures[] = {
      "harvesters.gif", "hibiscus.regular.gif", "bricks-gray.gif", "hat.gif", "flat", "solid",
      "table"};
  for (const char* name : pictures) {
    const std::string n = name;
    benchmark::RegisterBenchmark(("LZW/" + n).c_str(), BM_Ours, n, rf::gif::gcLZW);
    benchmark::RegisterBenchmark(("giflib/" + n).c_str(), BM_Giflib, n);
    benchmark::RegisterBenchmark(("RLE/" + n).c_str(), BM_Ours, n, rf::gif::gcRLE);
  }
}

}  // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
