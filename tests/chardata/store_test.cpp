#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "chardata/char_store.h"
#include "chardata/configuration.h"
#include "tests/support/fake_configuration_host.h"

namespace rf::chardata {
namespace {

using FakeHost = test::FakeConfigurationHost;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetStore(); }
  void TearDown() override { ResetStore(); }

  // Parses one line as entry 0 of a table of one line's worth: fill the
  // ANSI section with it and 127 filler lines.
  const TCharEntry& ParseOne(const std::string& line) {
    std::vector<std::string> lines(128, "1=x,1,,,,");
    lines[0] = line;
    ParseSection(host_, ctANSI, lines);
    return TableEntry(ctANSI, 0);
  }

  FakeHost host_;
};

TEST_F(StoreTest, TablesSitAtTheirPositionsWithTheirCounts) {
  const int counts[] = {128, 96, 96, 96, 96, 96, 96,  96,  96, 96,
                        96,  96, 96, 96, 96, 96, 160, 160, 40, 88};
  std::set<const TCharEntry*> seen;
  int total = 0;
  for (TCharTableKind kind : kAllCharTableKinds) {
    EXPECT_EQ(TableEntryCount(kind), counts[kind]) << SectionName(kind);
    EXPECT_EQ(TableFirstPosition(kind), total);
    for (int i = 0; i < TableEntryCount(kind); ++i) seen.insert(&TableEntry(kind, i));
    total += counts[kind];
  }
  EXPECT_EQ(total, 2016);
  EXPECT_EQ(seen.size(), 2016u);  // no two cells share an entry
  EXPECT_EQ(&TableEntry(ctISO8859_1, 0), &TableEntry(ctANSI, 127) + 1);
}

TEST_F(StoreTest, EverythingEmptyBeforeAnyLoad) {
  for (TCharTableKind kind : kAllCharTableKinds) {
    for (int i = 0; i < TableEntryCount(kind); ++i) {
      const TCharEntry& e = TableEntry(kind, i);
      EXPECT_EQ(e.Code, 0);
      EXPECT_TRUE(e.DecRef.Empty() && e.DecDigits.Empty() && e.HexRef.Empty() &&
                  e.HexDigits.Empty() && e.EntityRef.Empty() && e.EntityName.Empty() &&
                  e.User1.Empty() && e.User2.Empty() && e.User3.Empty());
    }
  }
  EXPECT_TRUE(DefaultTemplate1.Empty() && DefaultTemplate2.Empty() && DefaultTemplate3.Empty());
}

TEST_F(StoreTest, NumberTextsBecomeReferencesCutToTheirFields) {
  struct Case {
    std::string number, dec_ref, dec_digits, hex_ref, hex_digits;
  };
  const Case cases[] = {
      {"65535", "&#65535", "6553", "&#xFFFF;", "FFFF"},
      {"160", "&#160;", "160;", "&#x00A0;", "00A0"},
      {"8364", "&#8364;", "8364", "&#x20AC;", "20AC"},
      {"65536", "&#65536", "6553", "&#x10000", "1000"},
      {"abc", "&#abc;", "abc;", "&#x0000;", "0000"},
      {"5", "&#5;", "5;", "&#x0005;", "0005"},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    const TCharEntry& e = ParseOne("1=x," + c.number + ",,,,");
    EXPECT_EQ(e.DecRef, c.dec_ref) << c.number;
    EXPECT_EQ(e.DecDigits, c.dec_digits) << c.number;
    EXPECT_EQ(e.HexRef, c.hex_ref) << c.number;
    EXPECT_EQ(e.HexDigits, c.hex_digits) << c.number;
  }
}

TEST_F(StoreTest, EntityNamesAndUserFormsAreCut) {
  struct Case {
    std::string entity, ref, name;
  };
  const Case cases[] = {
      {"nbsp", "&nbsp;", "nbsp;"},
      {"thetasym", "&thetasym;", "thetasym"},
      {"ninechars", "&ninechars", "ninechar"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    const TCharEntry& e = ParseOne("1=x,1," + c.entity + ",,,");
    EXPECT_EQ(e.EntityRef, c.ref) << c.entity;
    EXPECT_EQ(e.EntityName, c.name) << c.entity;
  }
  const std::string u31(31, 'u');
  const TCharEntry& e = ParseOne("1=x,1,," + u31 + ",b,c");
  EXPECT_EQ(e.User1, std::string(30, 'u'));
  EXPECT_EQ(e.User2, "b");
  EXPECT_EQ(e.User3, "c");
}

TEST_F(StoreTest, KeysBecomeCodesModulo256) {
  struct Case {
    std::string key;
    int code;
  };
  const Case cases[] = {{"174", 174}, {"8364", 172}, {"$A0", 160}, {"$a0", 160},
                        {"x", 0},     {"256", 0},    {"-1", 255},  {"", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(ParseOne(c.key + "=x,1,,,,").Code, c.code) << c.key;
  }
}

TEST_F(StoreTest, ExampleLineGivesItsEntry) {
  const TCharEntry& e = ParseOne("174=registered sign,174,reg,(R),,");
  EXPECT_EQ(e.Code, 174);
  EXPECT_EQ(e.DecRef, "&#174;");
  EXPECT_EQ(e.DecDigits, "174;");
  EXPECT_EQ(e.HexRef, "&#x00AE;");
  EXPECT_EQ(e.HexDigits, "00AE");
  EXPECT_EQ(e.EntityRef, "&reg;");
  EXPECT_EQ(e.EntityName, "reg;");
  EXPECT_EQ(e.User1, "(R)");
  EXPECT_TRUE(e.User2.Empty());
  EXPECT_TRUE(e.User3.Empty());
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(StoreTest, FieldsAreUsedAsWrittenBetweenCommas) {
  const TCharEntry& e = ParseOne("1=x, 7 , r ,a b,,");
  EXPECT_EQ(e.DecRef, "&# 7 ;");
  EXPECT_EQ(e.HexRef, "&#x0007;");  // leading blank skipped, trailing one stops
  EXPECT_EQ(e.EntityRef, "& r ;");
  EXPECT_EQ(e.User1, "a b");
}

}  // namespace
}  // namespace rf::chardata
