#include "picker/accessible_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "chardata/char_store.h"
#include "chardata/configuration.h"
#include "chardata/free_text_store.h"
#include "chardata/portable_profile_file.h"
#include "picker/Hover.h"
#include "resources/layouts.h"
#include "tests/support/fake_configuration_host.h"

namespace rf::picker {
namespace {

using namespace chardata;

// The texts of cells of every table as the delivered data file gives them.
class DeliveredTextsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ResetStore();
    test::FakeConfigurationHost host;
    host.module = std::string(RF_SOURCE_DIR) + "/data\\Runefold.dll";
    PortableProfileFile profile;
    LoadConfiguration(host, profile);
    ASSERT_TRUE(host.messages.empty());
  }
  static void TearDownTestSuite() { ResetStore(); }
};

TEST_F(DeliveredTextsTest, SampleCellsOfEveryTable) {
  struct Case {
    TCharTableKind kind;
    int cell;
    const char* name;
    const char* description;
  };
  const Case cases[] = {
      {ctANSI, 0, "EURO SIGN", "Dezimal 8364, U+20AC, &euro;"},
      {ctANSI, 1, "leer", ""},
      {ctANSI, 127, "LATIN SMALL LETTER Y WITH DIAERESIS", "Dezimal 255, U+00FF, &yuml;"},
      {ctISO8859_1, 14, "REGISTERED SIGN", "Dezimal 174, U+00AE, &reg;"},
      // The no-break space has a number, though its cell shows nothing.
      {ctISO8859_1, 0, "NO-BREAK SPACE", "Dezimal 160, U+00A0, &nbsp;"},
      {ctISO8859_2, 1, "LATIN CAPITAL LETTER A WITH OGONEK", "Dezimal 260, U+0104, &Aogon;"},
      {ctISO8859_3, 5, "leer", ""},
      {ctISO8859_4, 10, "LATIN CAPITAL LETTER E WITH MACRON", "Dezimal 274, U+0112, &Emacr;"},
      {ctISO8859_5, 84, "CYRILLIC SMALL LETTER UKRAINIAN IE", "Dezimal 1108, U+0454, &jukcy;"},
      {ctISO8859_6, 1, "leer", ""},
      // No entity: the numbers alone.
      {ctISO8859_6, 39, "ARABIC LETTER ALEF", "Dezimal 1575, U+0627"},
      {ctISO8859_7, 4, "leer", ""},
      {ctISO8859_7, 81, "GREEK SMALL LETTER RHO", "Dezimal 961, U+03C1, &rho;"},
      {ctISO8859_8, 31, "leer", ""},
      {ctISO8859_9, 61, "LATIN CAPITAL LETTER I WITH DOT ABOVE", "Dezimal 304, U+0130, &Idot;"},
      {ctISO8859_10, 1, "LATIN CAPITAL LETTER A WITH OGONEK", "Dezimal 260, U+0104, &Aogon;"},
      {ctISO8859_11, 34, "THAI CHARACTER YO YAK", "Dezimal 3618, U+0E22"},
      {ctISO8859_11, 59, "leer", ""},
      {ctISO8859_13, 1, "RIGHT DOUBLE QUOTATION MARK", "Dezimal 8221, U+201D, &rdquo;"},
      {ctISO8859_14, 1, "LATIN CAPITAL LETTER B WITH DOT ABOVE", "Dezimal 7682, U+1E02"},
      {ctISO8859_15, 4, "EURO SIGN", "Dezimal 8364, U+20AC, &euro;"},
      {ctISO8859_16, 1, "LATIN CAPITAL LETTER A WITH OGONEK", "Dezimal 260, U+0104, &Aogon;"},
      {ctCP437, 0, "leer", ""},
      {ctCP437, 1, "WHITE SMILING FACE", "Dezimal 9786, U+263A"},
      {ctCP437, 32, "LATIN CAPITAL LETTER C WITH CEDILLA", "Dezimal 199, U+00C7, &Ccedil;"},
      {ctCP437, 159, "NO-BREAK SPACE", "Dezimal 160, U+00A0, &nbsp;"},
      {ctCP850, 63, "LATIN SMALL LETTER F WITH HOOK", "Dezimal 402, U+0192, &fnof;"},
      {ctTechnik, 0, "leer", ""},
      {ctTechnik, 34, "LATIN SMALL LETTER O WITH STROKE", "Dezimal 248, U+00F8, &oslash;"},
      {ctGrafik, 0, "CIRCLED DOT OPERATOR", "Dezimal 8857, U+2299, &odot;"},
      {ctGrafik, 87, "BOX DRAWINGS LIGHT DOWN AND RIGHT", "Dezimal 9484, U+250C, &boxdr;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(SectionName(c.kind)) + " cell " + std::to_string(c.cell));
    EXPECT_EQ(CellName(c.kind, c.cell), c.name);
    EXPECT_EQ(CellDescription(c.kind, c.cell), c.description);
  }
  // The delivered user forms: CSS, JavaScript, URL.
  EXPECT_EQ(CellValue(ctANSI, 0, 0), "&#8364;");
  EXPECT_EQ(CellValue(ctANSI, 0, 1), "\\0020AC");
  EXPECT_EQ(CellValue(ctANSI, 0, 2), "&#x20AC;");
  EXPECT_EQ(CellValue(ctANSI, 0, 3), "\\u20AC");
  EXPECT_EQ(CellValue(ctANSI, 0, 4), "&euro;");
  EXPECT_EQ(CellValue(ctANSI, 0, 5), "%E2%82%AC");
  EXPECT_EQ(CellValue(ctANSI, 1, 4), "");
}

// Every cell of every table: the value is the field a hover at the cell
// shows, the name "leer" exactly where the entry has no number.
TEST_F(DeliveredTextsTest, EveryCellAgreesWithTheHoverAndTheNotes) {
  for (TCharTableKind kind : kAllCharTableKinds) {
    const PictureParams& p = PictureOf(kind);
    for (int cell = 0; cell < TableEntryCount(kind); ++cell) {
      SCOPED_TRACE(std::string(SectionName(kind)) + " cell " + std::to_string(cell));
      const auto hover = HoverDisplay(kind, cell / p.rows * kCellWidth + 9,
                                      cell % p.rows * p.cell_height + p.cell_height / 2);
      ASSERT_TRUE(hover);
      ASSERT_EQ(hover->number, std::to_string(cell));
      EXPECT_EQ(CellValue(kind, cell, 0), hover->dec);
      EXPECT_EQ(CellValue(kind, cell, 2), hover->hex);
      EXPECT_EQ(CellValue(kind, cell, 4), hover->entity);
      EXPECT_EQ(CellValue(kind, cell, 5), hover->user3);
      const bool numbered = TableEntryNotes(kind, cell).HasNumber;
      EXPECT_EQ(CellName(kind, cell) == "leer", !numbered);
      EXPECT_EQ(CellDescription(kind, cell).starts_with("Dezimal "), numbered);
    }
  }
}

TEST(TableNameTest, TheTabCaptionsOfTheLayout) {
  const auto layout = resources::CharSetLayout();
  EXPECT_EQ(TableName(layout, ctANSI), "ANSI");
  EXPECT_EQ(TableName(layout, ctISO8859_1), "ISO 8859-1");
  EXPECT_EQ(TableName(layout, ctISO8859_5), "ISO 8859-5");
  EXPECT_EQ(TableName(layout, ctISO8859_11), "ISO 8859-11");
  EXPECT_EQ(TableName(layout, ctISO8859_13), "ISO 8859-13");
  EXPECT_EQ(TableName(layout, ctISO8859_16), "ISO 8859-16");
  EXPECT_EQ(TableName(layout, ctCP437), "CP 437");
  EXPECT_EQ(TableName(layout, ctCP850), "CP 850");
  EXPECT_EQ(TableName(layout, ctTechnik), "Technik");
  EXPECT_EQ(TableName(layout, ctGrafik), "Grafik");
  // A layout without the picture names nothing rather than failing.
  EXPECT_EQ(TableName({}, ctANSI), "");
}

TEST(NeighbourCellTest, StepsStopAtTheEdgesOfEveryGrid) {
  struct Case {
    TCharTableKind kind;
    int cell, columns, rows, want;  // -1: beyond the edge
  };
  const Case cases[] = {
      {ctANSI, 0, 0, 1, 1},        {ctANSI, 0, 1, 0, 8},        {ctANSI, 0, -1, 0, -1},
      {ctANSI, 0, 0, -1, -1},      {ctANSI, 7, 0, 1, -1},       {ctANSI, 127, 1, 0, -1},
      {ctANSI, 127, -1, 0, 119},   {ctISO8859_1, 5, 0, 1, -1},  {ctISO8859_1, 6, 0, -1, -1},
      {ctISO8859_1, 89, 1, 0, 95}, {ctISO8859_1, 90, 1, 0, -1}, {ctTechnik, 39, 0, -1, 38},
      {ctTechnik, 32, 1, 0, -1},   {ctCP850, 159, 0, 1, -1},    {ctGrafik, 80, 1, 0, -1},
      {ctGrafik, 8, -1, 0, 0},
  };
  for (const Case& c : cases) {
    const auto got = NeighbourCell(c.kind, c.cell, c.columns, c.rows);
    EXPECT_EQ(got.value_or(-1), c.want)
        << SectionName(c.kind) << " " << c.cell << " by " << c.columns << "," << c.rows;
  }
}

// Entries made by hand: templates, texts at their limits, missing parts.
class MadeTextsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetStore(); }
  void TearDown() override { ResetStore(); }
  static void Put(TCharTableKind kind, int cell, const std::string& line) {
    ParseEntryNotes(line, TableEntryNotes(kind, cell));
  }
};

TEST_F(MadeTextsTest, ValuesFollowTheTemplatesOfAllSixKinds) {
  TCharEntry& e = TableEntry(ctISO8859_1, 14);
  e.DecRef.Assign("&#174;");
  e.DecDigits.Assign("174");
  e.HexRef.Assign("&#xAE;");
  e.HexDigits.Assign("AE");
  e.EntityRef.Assign("&reg;");
  e.EntityName.Assign("reg");
  e.User2.Assign("given");
  DefaultTemplate1.Assign("[\xA7]");
  DefaultTemplate2.Assign("<\xA7>");
  DefaultTemplate3.Assign("\\N{\xA7}");
  const char* want[] = {"&#174;", "[174]", "&#xAE;", "given", "&reg;", "\\N{reg}"};
  for (int kind = 0; kind < 6; ++kind) EXPECT_EQ(CellValue(ctISO8859_1, 14, kind), want[kind]);
  // Outside the six kinds nothing would be appended.
  EXPECT_EQ(CellValue(ctISO8859_1, 14, -1), "");
  EXPECT_EQ(CellValue(ctISO8859_1, 14, 6), "");
  // The cell beside it has no forms: its template fills with nothing.
  EXPECT_EQ(CellValue(ctISO8859_1, 15, 1), "[]");
  EXPECT_EQ(CellValue(ctISO8859_1, 15, 0), "");
}

TEST_F(MadeTextsTest, LongFormsAreCutAsTheAppendCutsThem) {
  DefaultTemplate1.Assign("12345678901234567890123456\xA7");
  TableEntry(ctTechnik, 39).DecDigits.Assign("98765");
  EXPECT_EQ(CellValue(ctTechnik, 39, 1), "123456789012345678901234569876");
  EXPECT_EQ(CutToChosenForm(std::string(31, 'x')), std::string(30, 'x'));
  EXPECT_EQ(CutToChosenForm("kurz"), "kurz");
}

TEST_F(MadeTextsTest, NamesFromWhatTheFreeTextHolds) {
  Put(ctGrafik, 1, "1=,9786,,,,");                     // no name: its number
  Put(ctGrafik, 2, "2= | Smiley | Gesicht,9787,,,,");  // name part of blanks
  Put(ctGrafik, 3, "3=" + std::string(400, 'N') + ",9829,,,,");
  Put(ctGrafik, 4, "4=ORPHAN NAME,,,,,");  // a name but no number: empty cell
  TableEntry(ctGrafik, 4).EntityRef.Assign("&orph;");
  EXPECT_EQ(CellName(ctGrafik, 1), "U+263A");
  EXPECT_EQ(CellName(ctGrafik, 2), "U+263B");
  EXPECT_EQ(CellName(ctGrafik, 3), std::string(kFreeTextCapacity, 'N'));
  EXPECT_EQ(CellName(ctGrafik, 4), "leer");
  EXPECT_EQ(CellDescription(ctGrafik, 4), "&orph;");
  EXPECT_EQ(CellDescription(ctGrafik, 1), "Dezimal 9786, U+263A");
  // Five hex digits where the number needs them.
  Put(ctGrafik, 5, "5=GRINNING FACE,128512,,,,");
  EXPECT_EQ(CellDescription(ctGrafik, 5), "Dezimal 128512, U+1F600");
}

}  // namespace
}  // namespace rf::picker
