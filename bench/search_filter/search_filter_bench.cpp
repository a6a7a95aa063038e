// One keystroke of the search over the delivered Runefold.cfg: every query
// form, the worst cases of a word every name shares and a pasted page.
#include <benchmark/benchmark.h>

#include <string>

#include "chardata/configuration.h"
#include "chardata/portable_profile_file.h"
#include "picker/search_query.h"
#include "tests/support/fake_configuration_host.h"

namespace {

using namespace rf::chardata;

void LoadDeliveredFile() {
  static bool loaded = false;
  if (loaded) return;
  rf::test::FakeConfigurationHost host;
  host.module = std::string(RF_SOURCE_DIR) + "/data\\Runefold.dll";
  PortableProfileFile profile;
  LoadConfiguration(host, profile);
  loaded = true;
}

void BM_Filter(benchmark::State& state, std::string query) {
  LoadDeliveredFile();
  std::size_t rows = 0;
  for (auto _ : state) {
    const auto found = rf::picker::FindCharacters(query, ctISO8859_1);
    rows = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}

std::string PastedPage() {
  std::string page;
  while (page.size() < 10000) page += "latin small letter a with ";
  return page.substr(0, 10000);
}

BENCHMARK_CAPTURE(BM_Filter, word_euro, std::string("euro"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter, one_letter_l, std::string("l"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter, two_words, std::string("latin small"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter, entity, std::string("&shy;"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter, hex_number, std::string("U+20AC"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter, nothing_found, std::string("xyzzy"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Filter, pasted_10000, PastedPage())->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
