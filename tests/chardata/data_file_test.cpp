// The delivered data file: made by its generator byte for byte, loadable
// without a single message, and every cell checked against the code page
// mappings of iconv (a source independent of the generator's).
#include <iconv.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "chardata/char_store.h"
#include "chardata/config_file.h"
#include "chardata/configuration.h"
#include "chardata/portable_profile_file.h"
#include "chardata/text_utils.h"
#include "temp_module_dir.h"
#include "tests/support/fake_configuration_host.h"

namespace rf::chardata {
namespace {

const std::string kDataFile = std::string(RF_SOURCE_DIR) + "/data/Runefold.cfg";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The Unicode code point of one byte in a code page, or nothing when the
// code page assigns none.
std::optional<int> Decode(const char* charset, unsigned char byte) {
  iconv_t cd = iconv_open("UTF-32LE", charset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char in[1] = {static_cast<char>(byte)};
  unsigned char out[8] = {};
  char* ip = in;
  char* op = reinterpret_cast<char*>(out);
  std::size_t il = 1, ol = sizeof out;
  const std::size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1) || ol != 4) return std::nullopt;
  return out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24;
}

// IBM PC graphic forms of 0x01..0x1F.
const int kPcGlyphs[31] = {0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8,
                           0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA,
                           0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8, 0x2191,
                           0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};

// The two symbol sheets as the pictures show them; 0 is an empty cell.
const int kTechnik[40] = {0,      0xB0,   0xAA,   0x207F, 0x192,  0xB9,   0xB2,   0xB3,
                          0x2310, 0xAC,   0x2030, 0xBC,   0xBD,   0xBE,   0x215B, 0x215C,
                          0x215D, 0x215E, 0x2261, 0x2248, 0x2260, 0xB1,   0xF7,   0xD7,
                          0x2265, 0x2264, 0x2320, 0x23AE, 0x2321, 0x221A, 0x222B, 0x2229,
                          0xAB,   0xBB,   0xF8,   0x221E, 0x2DC,  0x263C, 0,      0};
const int kGrafikFirst48[48] = {
    0x2299, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642,
    0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x25B2, 0x25BC, 0x2195, 0x21A8, 0x2191, 0x2193,
    0x2192, 0x2190, 0x2194, 0x2026, 0x2020, 0x2021, 0x2039, 0x203A, 0xAB,   0xBB,   0x20AC, 0x2122,
    0xA9,   0xAE,   0x25A0, 0xB7,   0x2584, 0x258C, 0x2590, 0x2580, 0x2591, 0x2592, 0x2593, 0x2588};

struct Cell {
  int key;
  std::optional<int> cp;
};

std::vector<Cell> ExpectedCells(TCharTableKind kind) {
  std::vector<Cell> cells;
  auto code_page = [&](const char* charset, int first, int count) {
    for (int c = first; c < first + count; ++c) {
      cells.push_back({c, Decode(charset, static_cast<unsigned char>(c))});
    }
  };
  switch (kind) {
    case ctANSI:
      code_page("CP1252", 0x80, 128);
      break;
    case ctCP437:
    case ctCP850:
      cells.push_back({0, std::nullopt});
      for (int c = 1; c < 32; ++c) cells.push_back({c, kPcGlyphs[c - 1]});
      code_page(kind == ctCP437 ? "IBM437" : "IBM850", 0x80, 128);
      break;
    case ctTechnik:
      for (int i = 0; i < 40; ++i) {
        cells.push_back({i, kTechnik[i] ? std::optional<int>(kTechnik[i]) : std::nullopt});
      }
      break;
    case ctGrafik:
      for (int i = 0; i < 48; ++i) cells.push_back({i, kGrafikFirst48[i]});
      for (int i = 0; i < 40; ++i) cells.push_back({48 + i, Decode("IBM437", 0xB3 + i)});
      break;
    default: {
      const std::string part = std::string(SectionName(kind)).substr(9);
      code_page(("ISO-8859-" + part).c_str(), 0xA0, 96);
      if (kind == ctISO8859_7) {
        // First edition: no euro, drachma or ypogegrammeni.
        for (int c : {0xA4, 0xA5, 0xAA}) cells[c - 0xA0].cp.reset();
      }
    }
  }
  return cells;
}

TEST(DataFile, IsWhatTheGeneratorMakes) {
  if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  testing::TempModuleDir dir;
  const std::string out = dir.Dir() + "/gen.cfg";
  const std::string cmd =
      "python3 " + std::string(RF_SOURCE_DIR) + "/tools/gen_runefold_cfg.py --output " + out;
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  const std::string made = ReadBytes(out);
  ASSERT_FALSE(made.empty());
  EXPECT_TRUE(made == ReadBytes(kDataFile)) << "data/Runefold.cfg is stale: regenerate it";
}

TEST(DataFile, EveryCellMatchesTheCodePages) {
  const std::string bytes = ReadBytes(kDataFile);
  ASSERT_FALSE(bytes.empty()) << kDataFile;
  for (char c : bytes) {
    ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << "not plain ASCII";
  }

  ResetStore();
  test::FakeConfigurationHost host;
  host.module = std::string(RF_SOURCE_DIR) + "/data\\Runefold.dll";
  PortableProfileFile profile;
  LoadConfiguration(host, profile);
  EXPECT_TRUE(host.messages.empty()) << host.messages.front();
  EXPECT_EQ(host.output_kind, 4);
  EXPECT_EQ(host.shown, ctISO8859_1);
  EXPECT_EQ(host.captions[2].first, "JavaScript");

  int lines = 0;
  for (TCharTableKind kind : kAllCharTableKinds) {
    std::vector<std::string> section;
    ReadSectionLines(profile, kDataFile, std::string(SectionName(kind)), section);
    const std::vector<Cell> cells = ExpectedCells(kind);
    ASSERT_EQ(section.size(), cells.size()) << SectionName(kind);
    ASSERT_EQ(static_cast<int>(cells.size()), TableEntryCount(kind));
    for (std::size_t i = 0; i < cells.size(); ++i, ++lines) {
      const Cell& c = cells[i];
      const std::string& line = section[i];
      const std::string where = std::string(SectionName(kind)) + " cell " + std::to_string(i);
      const TCharEntry& e = TableEntry(kind, static_cast<int>(i));
      EXPECT_EQ(TextToNumber(ExtractField(line, "=", 1)), c.key) << where;
      EXPECT_EQ(e.Code, c.key % 256) << where;
      const std::string number = ExtractField(line, ",", 2);
      if (!c.cp) {
        EXPECT_EQ(line.substr(line.find('=')), "=,,,,,") << where;
        continue;
      }
      EXPECT_EQ(number, std::to_string(*c.cp)) << where;
      EXPECT_FALSE(*c.cp >= 128 && *c.cp <= 159) << where;
      EXPECT_FALSE(ExtractField(ExtractField(line, "=", 2), ",", 1).empty()) << where;
      char hex[8];
      std::snprintf(hex, sizeof hex, "%04X", *c.cp);
      EXPECT_EQ(e.HexDigits, std::string(hex)) << where;
      EXPECT_EQ(e.User2, "\\u" + std::string(hex)) << where;
      EXPECT_LE(ExtractField(line, ",", 3).size(), 8u) << where;
    }
  }
  EXPECT_EQ(lines, 2016);
  // Spot checks of the entities.
  EXPECT_EQ(TableEntry(ctANSI, 0).EntityRef, "&euro;");
  EXPECT_EQ(TableEntry(ctISO8859_1, 14).EntityRef, "&reg;");
  EXPECT_EQ(TableEntry(ctISO8859_1, 0).EntityRef, "&nbsp;");
  EXPECT_EQ(TableEntry(ctISO8859_8, 93).EntityRef, "&lrm;");
  EXPECT_EQ(TableEntry(ctTechnik, 25).EntityRef, "&le;");
  EXPECT_EQ(TableEntry(ctGrafik, 48).EntityRef, "&boxv;");
  EXPECT_EQ(TableEntry(ctISO8859_2, 1).EntityRef, "&Aogon;");
  ResetStore();
}

}  // namespace
}  // namespace rf::chardata
