// The whole load at dialog creation, on the delivered Runefold.cfg through
// the portable profile reader, and the hover display over one picture.
#include <benchmark/benchmark.h>

#include <string>

#include "chardata/configuration.h"
#include "chardata/portable_profile_file.h"
#include "picker/Hover.h"
#include "tests/support/fake_configuration_host.h"

namespace {

using namespace rf::chardata;
using rf::picker::HoverDisplay;
using rf::picker::PictureOf;
using rf::picker::PictureParams;

void BM_LoadConfiguration(benchmark::State& state) {
  rf::test::FakeConfigurationHost host;
  host.module = std::string(RF_SOURCE_DIR) + "/data\\Runefold.dll";
  PortableProfileFile profile;
  for (auto _ : state) {
    LoadConfiguration(host, profile);
  }
  if (!host.messages.empty()) state.SkipWithError("the delivered file gave messages");
}
BENCHMARK(BM_LoadConfiguration)->Unit(benchmark::kMillisecond);

void BM_HoverAcrossAnsi(benchmark::State& state) {
  const PictureParams& p = PictureOf(ctANSI);
  for (auto _ : state) {
    for (int x = 0; x < p.width; ++x) benchmark::DoNotOptimize(HoverDisplay(ctANSI, x, 100));
  }
  state.SetItemsProcessed(state.iterations() * p.width);
}
BENCHMARK(BM_HoverAcrossAnsi);

}  // namespace

BENCHMARK_MAIN();
