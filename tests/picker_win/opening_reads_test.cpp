// What the real module reads while the picker opens, seen through its own
// import table: each setting once, then each section's key list followed by
// one read per key in file order, all from the file beside the module, and
// nothing written or opened besides.
#include <gtest/gtest.h>

#include "plugin_fixture.h"
#include "tests/support/opening_trace.h"

namespace rf::test {
namespace {

TEST(OpeningReads, EachSettingAndKeyIsReadOnceInOrderFromTheModulesFile) {
  const std::string config = DeliveredConfig();
  PluginCopy copy(&config);
  ParkPointer();
  InstallOpeningTrace(copy.Plugin().module);
  OpeningTrace trace;
  BeginOpening(trace);
  // The trace presses "Abbruch" once the opened dialog is idle.
  copy.Plugin().Start(0, 0, 0);
  EndOpening();
  const auto keys = KeysPerSection(copy.ConfigPath());
  std::size_t key_count = 0;
  for (const auto& section : keys) key_count += section.size();
  ASSERT_EQ(key_count, 2016u);
  EXPECT_EQ(trace.reads.size(), 8u + 20u + 2016u);
  EXPECT_EQ(CheckReadSequence(trace, copy.ConfigPath(), keys), "");
}

}  // namespace
}  // namespace rf::test
