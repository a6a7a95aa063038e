#include "chardata/free_text_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chardata/char_store.h"
#include "chardata/configuration.h"
#include "tests/support/fake_configuration_host.h"

namespace rf::chardata {
namespace {

class FreeTextStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetStore(); }
  void TearDown() override { ResetStore(); }

  static std::vector<std::string> AnsiLines(const std::string& first) {
    std::vector<std::string> lines(128, "1=filler,1,,,,");
    lines[0] = first;
    return lines;
  }
  const TEntryNotes& ParseOne(const std::string& line) {
    ParseSection(host_, ctANSI, AnsiLines(line));
    return TableEntryNotes(ctANSI, 0);
  }

  test::FakeConfigurationHost host_;
};

TEST_F(FreeTextStoreTest, FreeTextAndNumberOfALine) {
  const TEntryNotes& n = ParseOne("128=EURO SIGN | Euro,8364,euro,,,");
  EXPECT_EQ(n.FreeText, "EURO SIGN | Euro");
  EXPECT_TRUE(n.HasNumber);
  EXPECT_EQ(n.Number, 8364);
  EXPECT_EQ(FreeTextName(n.FreeText.View()), "EURO SIGN");

  // Numbers beyond what DecRef and HexRef keep whole stay whole here.
  EXPECT_EQ(ParseOne("1=x,128512,,,,").Number, 128512);
  EXPECT_FALSE(ParseOne("1=x,,reg,,,").HasNumber);
  EXPECT_TRUE(ParseOne("1=x,abc,,,,").HasNumber);
  // Free texts are taken as written: empty, only separators, an "=".
  EXPECT_EQ(ParseOne("1=,160,,,,").FreeText, "");
  EXPECT_EQ(ParseOne("1= | | ,160,,,,").FreeText, " | | ");
  EXPECT_EQ(FreeTextName(" | | "), "");
  EXPECT_EQ(ParseOne("1=a=b,160,,,,").FreeText, "a=b");
  // No comma at all: everything after "=" (the line gets its message).
  EXPECT_EQ(ParseOne("1=only text").FreeText, "only text");
  EXPECT_FALSE(TableEntryNotes(ctANSI, 0).HasNumber);
}

TEST_F(FreeTextStoreTest, LongTextsAreCutToTheCapacity) {
  const std::string long_text(kFreeTextCapacity + 50, 'k');
  const TEntryNotes& n = ParseOne("1=" + long_text + ",65,,,,");
  EXPECT_EQ(n.FreeText.Size(), kFreeTextCapacity);
  EXPECT_EQ(n.FreeText, long_text.substr(0, kFreeTextCapacity));
  EXPECT_EQ(n.Number, 65);
  EXPECT_EQ(ParseOne("1=" + std::string(kFreeTextCapacity, 'k') + ",65,,,,").FreeText.Size(),
            kFreeTextCapacity);
}

TEST_F(FreeTextStoreTest, OnlyASectionThatParsesOverwritesTheNotes) {
  ParseOne("128=EURO SIGN,8364,euro,,,");
  std::vector<std::string> short_section = AnsiLines("128=CHANGED,1,,,,");
  short_section.pop_back();
  ParseSection(host_, ctANSI, short_section);
  EXPECT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(TableEntryNotes(ctANSI, 0).FreeText, "EURO SIGN");
  EXPECT_EQ(TableEntryNotes(ctANSI, 0).Number, 8364);
  // Notes of other tables are untouched; everything empties on reset.
  EXPECT_TRUE(TableEntryNotes(ctISO8859_1, 0).FreeText.Empty());
  ResetStore();
  EXPECT_TRUE(TableEntryNotes(ctANSI, 0).FreeText.Empty());
  EXPECT_FALSE(TableEntryNotes(ctANSI, 0).HasNumber);
}

}  // namespace
}  // namespace rf::chardata
