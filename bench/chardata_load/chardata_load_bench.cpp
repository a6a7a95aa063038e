// The whole load at dialog creation, on the delivered Runefold.cfg through
// the portable profile reader, and the hover display over one picture.
#include <benchmark/benchmark.h>

#include <string>

#include "chardata/char_store.h"
#include "chardata/configuration.h"
#include "chardata/hover.h"
#include "chardata/portable_profile_file.h"

namespace {

using namespace rf::chardata;

struct QuietHost : ConfigurationHost {
  int kind = 0;
  TCharTableKind shown = ctISO8859_3;
  int messages = 0;
  int OutputKindIndex() const override { return kind; }
  void SetOutputKindIndex(int i) override { kind = i; }
  TCharTableKind ShownTable() const override { return shown; }
  void ShowTable(TCharTableKind k) override { shown = k; }
  void SetUserFormCaptions(int, const std::string&, const std::string&) override {}
  BoxAnswer ShowErrorBox(const std::string&) override {
    ++messages;
    return BoxAnswer::kClosed;
  }
  void SetHourglass(bool) override {}
  std::string PluginModuleFileName() const override {
    return std::string(RF_SOURCE_DIR) + "/data\\Runefold.dll";
  }
};

void BM_LoadConfiguration(benchmark::State& state) {
  QuietHost host;
  PortableProfileFile profile;
  for (auto _ : state) {
    LoadConfiguration(host, profile);
  }
  if (host.messages != 0) state.SkipWithError("the delivered file gave messages");
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
