#include "picker/search_query.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "chardata/char_store.h"
#include "chardata/free_text_store.h"

namespace rf::picker {
namespace {

using namespace chardata;

struct Cell {
  TCharTableKind kind;
  int index;
  friend bool operator==(const Cell&, const Cell&) = default;
};

std::ostream& operator<<(std::ostream& os, const Cell& c) {
  return os << SectionName(c.kind) << ":" << c.index;
}

class SearchTest : public ::testing::Test {
 protected:
  // A few characters as the delivered file gives them, some in several
  // tables, one with a name but no number.
  void SetUp() override {
    ResetStore();
    Put(ctANSI, 0, "128=EURO SIGN | Euro | EUR | W\xE4hrung,8364", "euro");
    Put(ctANSI, 1, "129=REGULAR THING,57000", "");
    Put(ctISO8859_1, 0, "160=NO-BREAK SPACE,160", "nbsp");
    Put(ctISO8859_1, 13, "173=SOFT HYPHEN,173", "shy");
    Put(ctISO8859_1, 14, "174=REGISTERED SIGN | Markenzeichen | R | Registered-Trademark,174",
        "reg");
    Put(ctISO8859_1, 32, "192=LATIN CAPITAL LETTER A WITH GRAVE,192", "Agrave");
    Put(ctISO8859_1, 64, "224=LATIN SMALL LETTER A WITH GRAVE,224", "agrave");
    Put(ctISO8859_5, 84, "244=CYRILLIC SMALL LETTER EF,1092", "");
    Put(ctISO8859_7, 81, "241=GREEK THETA SYMBOL,977", "thetasym");
    Put(ctISO8859_15, 4, "164=EURO SIGN | Euro | EUR | W\xE4hrung,8364", "euro");
    Put(ctCP437, 0, "0=FREE TEXT WITHOUT NUMBER,", "");
    Put(ctCP850, 5, "5= |  | | ,9472", "");  // a free text of separators only
    Put(ctTechnik, 19, "19=ALMOST EQUAL TO | ungef\xE4hr gleich | N\xE4herung,8776", "asymp");
    Put(ctGrafik, 24, "24=RIGHTWARDS ARROW | nach rechts weisender Pfeil | Pfeil | rechts,8594",
        "rarr");
    Put(ctGrafik, 25, "25=LEFTWARDS ARROW | nach links weisender Pfeil | Pfeil | links,8592",
        "larr");
    Put(ctGrafik, 34, "34=EURO SIGN | Euro | EUR | W\xE4hrung,8364", "euro");
  }
  void TearDown() override { ResetStore(); }

  static void Put(TCharTableKind kind, int index, const std::string& line,
                  const std::string& entity) {
    ParseEntryNotes(line + "," + entity + ",,,", TableEntryNotes(kind, index));
    if (!entity.empty()) TableEntry(kind, index).EntityRef.Assign("&" + entity + ";");
  }

  static std::vector<Cell> Find(const std::string& query, TCharTableKind shown = ctISO8859_1) {
    std::vector<Cell> cells;
    for (const SearchRow& row : FindCharacters(query, shown))
      cells.push_back({row.kind, row.index});
    return cells;
  }
};

TEST_F(SearchTest, QueriesFindTheirCellsInOrder) {
  const Cell euro{ctANSI, 0}, reg{ctISO8859_1, 14}, Agrave{ctISO8859_1, 32},
      agrave{ctISO8859_1, 64}, rarr{ctGrafik, 24}, larr{ctGrafik, 25}, asymp{ctTechnik, 19};
  struct Case {
    std::string query;
    std::vector<Cell> cells;
  };
  const Case cases[] = {
      // Words of the name and the keywords, by word start, any case, accents ignored.
      {"euro", {euro}},
      {"EURO sign", {euro}},
      {"w\xE4hrung", {euro}},
      {"wahrung", {euro}},
      {"pfeil", {rarr, larr}},
      {"pf", {rarr, larr}},
      {"pfeil links", {larr}},
      {"feil", {}},
      {"a grave", {Agrave, agrave}},
      {"ungef\xC4HR", {asymp}},
      {"free", {{ctCP437, 0}}},
      {"cyrillic ef", {{ctISO8859_5, 84}}},
      // Entity names with or without their delimiters; the exact case first.
      {"reg", {reg, {ctANSI, 1}}},
      {"&reg;", {reg}},
      {"&reg", {reg}},
      {"reg;", {reg}},
      {"agrave", {agrave, Agrave}},
      {"Agrave", {Agrave, agrave}},
      {"AGRAVE", {Agrave, agrave}},
      {"thetasym", {{ctISO8859_7, 81}}},
      {"&shy;", {{ctISO8859_1, 13}}},
      // Numbers, decimal and hexadecimal.
      {"174", {reg}},
      {"&#174;", {reg}},
      {"&#174", {reg}},
      {"#174", {reg}},
      {"&#xAE;", {reg}},
      {"&#XAE;", {reg}},
      {"xAE", {reg}},
      {"0xae", {reg}},
      {"U+00AE", {reg}},
      {"u+ae", {reg}},
      {"8364", {euro}},
      {"U+2248", {asymp}},
      {"9472", {{ctCP850, 5}}},
      // The character itself.
      {"\x80", {euro}},
      {"\xAE", {reg}},
      {" \xAE ", {reg}},
      // Nothing.
      {"", {}},
      {"   ", {}},
      {"xyzzy", {}},
      {"&#;", {}},
      {"&#x110000;", {}},
      {"99999999999999999999", {}},
      {"&", {}},
      {"|", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Find(c.query), c.cells) << "query \"" << c.query << "\"";
}

TEST_F(SearchTest, OneRowPerCharacterInTheTableOnShowElseTheFirst) {
  EXPECT_EQ(Find("euro", ctISO8859_1), (std::vector<Cell>{{ctANSI, 0}}));
  EXPECT_EQ(Find("euro", ctISO8859_15), (std::vector<Cell>{{ctISO8859_15, 4}}));
  EXPECT_EQ(Find("euro", ctGrafik), (std::vector<Cell>{{ctGrafik, 34}}));
  // Found by its entity and by the words of its name: one row, ranked by
  // the better match.
  const auto rows = FindCharacters("reg", ctGrafik);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].rank, MatchRank::kExact);
  EXPECT_EQ(rows[1].rank, MatchRank::kWords);
}

TEST_F(SearchTest, RowTexts) {
  const auto rows = FindCharacters("reg", ctISO8859_1);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(RowName(rows[0]), "REGISTERED SIGN");
  EXPECT_EQ(RowEntity(rows[0]), "&reg;");
  EXPECT_EQ(RowWhere(rows[0]), "ISO 8859-1, Zelle 14");
  EXPECT_EQ(RowWhere({ctCP437, 5, MatchRank::kExact}), "CP 437, Zelle 5");
  EXPECT_EQ(FoldForSearch("\xC4rger \xDF\xC6 x-y|z"), "arger ssae x y z");
}

TEST_F(SearchTest, AnyBytesOfAnyLengthGiveAnAnswer) {
  for (int b = 0; b < 256; ++b) (void)FindCharacters(std::string(1, static_cast<char>(b)), ctANSI);
  std::mt19937 random(13);
  std::string pasted(10000, ' ');
  for (char& c : pasted) c = static_cast<char>(random());
  (void)FindCharacters(pasted, ctANSI);
  // A long paste of words every entry has still finds nothing it should not.
  std::string words;
  while (words.size() < 10000) words += "euro sign ";
  EXPECT_EQ(Find(words), (std::vector<Cell>{{ctANSI, 0}}));
}

}  // namespace
}  // namespace rf::picker
