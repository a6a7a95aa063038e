// Feeds arbitrary bytes to the search as its query, over the delivered
// data file, with every table on show in turn; every row found must name
// a real cell and give its texts. Nothing may crash, hang or misbehave.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "chardata/char_store.h"
#include "chardata/configuration.h"
#include "chardata/portable_profile_file.h"
#include "picker/search_query.h"
#include "tests/support/fake_configuration_host.h"

namespace {

using namespace rf::chardata;

bool LoadDelivered() {
  rf::test::FakeConfigurationHost host;
  host.module = std::string(RF_SOURCE_DIR) + "/data\\Runefold.dll";
  PortableProfileFile profile;
  LoadConfiguration(host, profile);
  return host.messages.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool loaded = LoadDelivered();
  if (!loaded) std::abort();
  const std::string_view query(reinterpret_cast<const char*>(data), size);
  const TCharTableKind shown = kAllCharTableKinds[size % kAllCharTableKinds.size()];
  for (const rf::picker::SearchRow& row : rf::picker::FindCharacters(query, shown)) {
    if (row.index < 0 || row.index >= TableEntryCount(row.kind)) std::abort();
    (void)rf::picker::RowName(row);
    (void)rf::picker::RowEntity(row);
    (void)rf::picker::RowWhere(row);
  }
  (void)rf::picker::FoldForSearch(query);
  return 0;
}
