// The twenty stored table pictures read and decoded by the module's codec,
// from the same bytes the module's resources hold.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "gif/gifimage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The stored form: the class name as a length-prefixed string, then the GIF.
std::vector<Bytes> StoredTablePictures() {
  std::vector<Bytes> streams;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(RF_SOURCE_DIR) + "/resources/tables")) {
    if (entry.path().extension() != ".pic") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    Bytes stored((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (stored.empty() || stored[0] + 1u > stored.size()) continue;
    streams.emplace_back(stored.begin() + 1 + stored[0], stored.end());
  }
  return streams;
}

void BM_DecodeTablePictures(benchmark::State& state) {
  const std::vector<Bytes> streams = StoredTablePictures();
  if (streams.size() != 20) {
    state.SkipWithError("resources/tables does not hold the twenty pictures");
    return;
  }
  std::size_t bytes = 0;
  for (const Bytes& s : streams) bytes += s.size();
  for (auto _ : state) {
    for (const Bytes& s : streams) {
      rf::gif::TGIFImage image;
      image.LoadFromBytes(s);
      for (const auto& frame : image.Images()) benchmark::DoNotOptimize(frame->Pixels().data());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_DecodeTablePictures)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
