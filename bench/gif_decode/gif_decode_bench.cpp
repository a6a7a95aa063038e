// Decodes each picture of the shared benchmark set with this codec and with
// giflib, alternating, and reports both speeds in MB/s of decoded pixels
// (one byte per pixel, all frames) and their ratio as counters.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gif/gifimage.h"
#include "tests/support/giflib_memory.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

std::size_t DecodeGiflib(const Bytes& data) {
  rf::test::GiflibMemorySource source(data);
  int error = 0;
  GifFileType* gif = source.Open(&error);
  std::size_t pixels = 0;
  if (gif != nullptr && DGifSlurp(gif) == GIF_OK) {
    for (int i = 0; i < gif->ImageCount; ++i) {
      const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
      pixels += static_cast<std::size_t>(d.Width) * static_cast<std::size_t>(d.Height);
      benchmark::DoNotOptimize(gif->SavedImages[i].RasterBits);
    }
  }
  DGifCloseFile(gif, &error);
  return pixels;
}

std::size_t DecodeOurs(const Bytes& data) {
  rf::gif::TGIFImage image;
  image.LoadFromBytes(data);
  std::size_t pixels = 0;
  for (const auto& frame : image.Images()) {
    pixels += frame->Pixels().size();
    benchmark::DoNotOptimize(frame->Pixels().data());
  }
  return pixels;
}

void BM_Decode(benchmark::State& state, const Bytes& data) {
  double ours_seconds = 0, giflib_seconds = 0;
  std::size_t pixels = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    pixels = DecodeOurs(data);
    auto t1 = Clock::now();
    DecodeGiflib(data);
    auto t2 = Clock::now();
    ours_seconds += std::chrono::duration<double>(t1 - t0).count();
    giflib_seconds += std::chrono::duration<double>(t2 - t1).count();
  }
  const double megabytes =
      static_cast<double>(pixels) * static_cast<double>(state.iterations()) / 1e6;
  state.counters["ours_MBps"] = megabytes / ours_seconds;
  state.counters["giflib_MBps"] = megabytes / giflib_seconds;
  state.counters["ratio"] = giflib_seconds / ours_seconds;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path dir = fs::path(RF_SHARED_DIR) / "gif-bench";
  static std::vector<std::pair<std::string, Bytes>> files;
  if (fs::exists(dir)) {
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() != ".gif") continue;
      std::ifstream file(entry.path(), std::ios::binary);
      files.emplace_back(
          entry.path().filename().string(),
          Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    }
  }
  std::sort(files.begin(), files.end());
  for (const auto& [name, data] : files) {
    benchmark::RegisterBenchmark(("decode/" + name).c_str(), BM_Decode, data)->MinTime(0.5);
  }
  benchmark::Initialize(&argc, argv);
  if (files.empty()) std::fprintf(stderr, "no benchmark pictures in %s\n", dir.string().c_str());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
