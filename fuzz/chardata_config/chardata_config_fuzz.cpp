// Feeds arbitrary bytes to the configuration loader as the file beside the
// module, saves the choices into it and loads it again, and searches what
// it loaded; also runs the text utilities over the same bytes. Nothing may crash, hang or
// misbehave.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "chardata/char_store.h"
#include "chardata/choices.h"
#include "chardata/config_file.h"
#include "chardata/configuration.h"
#include "chardata/portable_profile_file.h"
#include "chardata/text_utils.h"
#include "picker/Hover.h"
#include "picker/search_query.h"
#include "tests/support/fake_configuration_host.h"

namespace {

using namespace rf::chardata;
using rf::picker::HoverDisplay;
using rf::picker::PictureOf;
using rf::picker::PictureParams;

const std::string& Dir() {
  static const std::string dir = "/tmp/rf_cdfuzz_" + std::to_string(::getpid());
  static const bool made = (::mkdir(dir.c_str(), 0700), true);
  (void)made;
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = Dir() + "/Runefold.cfg";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  rf::test::FakeConfigurationHost host;
  host.answers = {BoxAnswer::kConfirmed, BoxAnswer::kClosed};
  host.module = Dir() + "\\Runefold.dll";
  PortableProfileFile profile;
  LoadConfiguration(host, profile);
  for (TCharTableKind kind : kAllCharTableKinds) {
    const PictureParams& p = PictureOf(kind);
    for (int x = 0; x < p.width; x += 17) (void)HoverDisplay(kind, x, p.height - 2);
  }
  try {
    SaveChoices(host, profile);
  } catch (const ConfigWriteError&) {
  }
  LoadConfiguration(host, profile);
  // Whatever free texts the file gave (empty, overlong, all separators),
  // the search over them works.
  for (const rf::picker::SearchRow& row :
       rf::picker::FindCharacters(std::string_view(bytes).substr(0, 24), ctANSI)) {
    (void)rf::picker::RowName(row);
    (void)rf::picker::RowWhere(row);
  }

  const std::size_t half = bytes.size() / 2;
  (void)TextToNumber(bytes);
  (void)ExpandTemplate(bytes.substr(0, half), bytes.substr(half));
  (void)DecodeHexText(bytes.substr(0, half), bytes.substr(half));
  (void)HasSeparatorCount(bytes, bytes.substr(0, 1), 5);
  std::vector<std::string> items;
  SplitText(bytes.substr(half), bytes.substr(0, half % 4), items);
  ResetStore();
  return 0;
}
