// The delivered data file: made by its generator byte for byte, loadable
// without a single message, and every cell checked against the code page
// mappings of iconv (a source independent of the generator's); its free
// texts against Python's Unicode names and the CLDR files read here.
#include <iconv.h>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "chardata/case_fold.h"
#include "chardata/char_store.h"
#include "chardata/config_file.h"
#include "chardata/configuration.h"
#include "chardata/cp1252.h"
#include "chardata/free_text_store.h"
#include "chardata/portable_profile_file.h"
#include "chardata/text_utils.h"
#include "temp_module_dir.h"
#include "tests/support/fake_configuration_host.h"

namespace rf::chardata {
namespace {

const std::string kDataFile = std::string(RF_SOURCE_DIR) + "/data/Runefold.cfg";
const std::string kCldrDir = "/usr/share/unicode/cldr/common";
// The generator's exit status when it finds no CLDR files.
constexpr int kNoCldrStatus = 3;

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
  const int status = std::system(cmd.c_str());
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNoCldrStatus)
    GTEST_SKIP() << "no CLDR annotations (install unicode-cldr-core)";
  ASSERT_EQ(status, 0) << cmd;
  const std::string made = ReadBytes(out);
  ASSERT_FALSE(made.empty());
  EXPECT_TRUE(made == ReadBytes(kDataFile)) << "data/Runefold.cfg is stale: regenerate it";
}

TEST(DataFile, EveryCellMatchesTheCodePages) {
  const std::string bytes = ReadBytes(kDataFile);
  ASSERT_FALSE(bytes.empty()) << kDataFile;
  // Only the free texts (German keywords) go beyond ASCII; the entries
  // from the first comma on and every other line stay plain ASCII.
  std::stringstream file(bytes);
  int line_number = 0;
  for (std::string line; std::getline(file, line); ++line_number) {
    const std::size_t comma = line.find(',');
    const bool has_free_text = line.find('=') < comma && !line.starts_with(';');
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (has_free_text && i < comma && static_cast<unsigned char>(c) >= 0x80) continue;
      ASSERT_TRUE(c == '\r' || (c >= 0x20 && c < 0x7F))
          << "not plain ASCII in line " << line_number << ": " << line;
    }
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

std::u32string Utf8Decode(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < s.size(); ++k) cp = cp << 6 | (s[i + k] & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    out += cp;
  }
  return out;
}

// UTF-8 to code page 1252, or nothing when a character does not fit.
std::optional<std::string> Utf8ToCp1252(std::string_view s) {
  std::string out;
  for (char32_t cp : Utf8Decode(s)) {
    const auto c = UnicodeToCp1252(cp);
    if (!c) return std::nullopt;
    out += static_cast<char>(*c);
  }
  return out;
}

std::string XmlUnescape(std::string s) {
  for (const auto& [from, to] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}}) {
    for (std::size_t at; (at = s.find(from)) != std::string::npos;)
      s.replace(at, std::string_view(from).size(), to);
  }
  return s;
}

// Every German keyword and spoken name of each single character, as code
// page 1252 texts; keywords it cannot hold are left out.
std::map<char32_t, std::set<std::string>> CldrKeywords() {
  std::map<char32_t, std::set<std::string>> found;
  for (const char* file : {"/annotations/de.xml", "/annotationsDerived/de.xml"}) {
    std::ifstream in(kCldrDir + file);
    for (std::string line; std::getline(in, line);) {
      // <annotation cp="X" ...>keyword | keyword</annotation>
      const std::size_t cp_at = line.find("<annotation cp=\"");
      if (cp_at == std::string::npos) continue;
      const std::size_t cp_from = cp_at + 16;
      const std::size_t cp_end = line.find('"', cp_from);
      const std::size_t text_from = line.find('>', cp_end) + 1;
      const std::size_t text_end = line.find("</annotation>", text_from);
      if (cp_end == std::string::npos || text_from == 0 || text_end == std::string::npos) continue;
      const std::u32string wide = Utf8Decode(XmlUnescape(line.substr(cp_from, cp_end - cp_from)));
      if (wide.size() != 1) continue;
      std::stringstream words(XmlUnescape(line.substr(text_from, text_end - text_from)));
      for (std::string word; std::getline(words, word, '|');) {
        word.erase(0, word.find_first_not_of(' '));
        word.erase(word.find_last_not_of(' ') + 1);
        if (auto text = Utf8ToCp1252(word); text && !text->empty()) found[wide[0]].insert(*text);
      }
    }
  }
  return found;
}

// The Unicode name of each code point, from Python's unicodedata.
std::map<int, std::string> PythonNames(const std::set<int>& cps) {
  testing::TempModuleDir dir;
  {
    std::ofstream list(dir.Dir() + "/cps");
    for (int cp : cps) list << cp << "\n";
  }
  const std::string cmd =
      "python3 -c 'import sys, unicodedata\nfor l in open(sys.argv[1]): "
      "print(int(l), unicodedata.name(chr(int(l))))' " +
      dir.Dir() + "/cps > " + dir.Dir() + "/names";
  std::map<int, std::string> names;
  if (std::system(cmd.c_str()) != 0) return names;
  std::ifstream in(dir.Dir() + "/names");
  for (std::string line; std::getline(in, line);) {
    const std::size_t space = line.find(' ');
    names[std::stoi(line.substr(0, space))] = line.substr(space + 1);
  }
  return names;
}

// Free text: the Unicode name, then the German keywords, " | " between.
TEST(DataFile, FreeTextsAreUnicodeNamesThenGermanKeywords) {
  if (std::system("python3 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  if (!std::ifstream(kCldrDir + "/annotations/de.xml"))
    GTEST_SKIP() << "no CLDR annotations in " << kCldrDir << " (install unicode-cldr-core)";
  const auto cldr = CldrKeywords();
  ASSERT_FALSE(cldr.empty());

  PortableProfileFile profile;
  std::vector<std::pair<int, std::string>> texts;  // code point, free text
  for (TCharTableKind kind : kAllCharTableKinds) {
    std::vector<std::string> section;
    ReadSectionLines(profile, kDataFile, std::string(SectionName(kind)), section);
    for (const std::string& line : section) {
      const std::string number = ExtractField(line, ",", 2);
      const std::string free = ExtractField(ExtractField(line, "=", 2), ",", 1);
      if (number.empty()) {
        EXPECT_TRUE(free.empty()) << line;
        continue;
      }
      texts.emplace_back(std::stoi(number), free);
    }
  }
  std::set<int> cps;
  for (const auto& [cp, text] : texts) cps.insert(cp);
  const auto names = PythonNames(cps);
  ASSERT_EQ(names.size(), cps.size());

  std::set<int> with_keywords;
  for (const auto& [cp, text] : texts) {
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
      const std::size_t bar = text.find(kFreeTextSeparator, from);
      parts.push_back(text.substr(from, bar - from));
      if (bar == std::string::npos) break;
      from = bar + kFreeTextSeparator.size();
    }
    const std::string where = "U+" + std::to_string(cp) + " " + text;
    EXPECT_EQ(parts[0], names.at(cp)) << where;
    const auto it = cldr.find(static_cast<char32_t>(cp));
    const std::set<std::string> none;
    const std::set<std::string>& expected = it == cldr.end() ? none : it->second;
    // Each keyword is one of CLDR's, each once; every one of CLDR's is
    // there unless another of another letter case stands for it.
    std::set<std::string> folded;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      EXPECT_TRUE(expected.count(parts[i])) << where << ": " << parts[i];
      EXPECT_TRUE(folded.insert(FoldCase(parts[i])).second) << where << ": " << parts[i];
    }
    // ... or it would not have fitted into what the plug-in keeps.
    for (const std::string& k : expected) {
      if (folded.count(FoldCase(k))) continue;
      EXPECT_GT(text.size() + kFreeTextSeparator.size() + k.size(), kFreeTextCapacity)
          << where << ": " << k;
    }
    if (parts.size() > 1) with_keywords.insert(cp);
  }
  // About 80 of the file's characters have German annotations.
  EXPECT_GE(with_keywords.size(), 70u);
  EXPECT_LE(with_keywords.size(), 100u);
}

}  // namespace
}  // namespace rf::chardata
