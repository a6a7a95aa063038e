// How the portable profile reader answers, on the kinds of files that
// trip readers up. The same cases run against Windows itself in the
// Windows tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chardata/portable_profile_file.h"
#include "chardata/profile_text.h"
#include "temp_module_dir.h"

namespace rf::chardata {
namespace {

using Names = std::vector<std::string>;

class ProfileTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& def = "DEF") {
    return profile_.ReadText(path_, section, key, def);
  }
  Names Keys(const std::string& section) { return profile_.KeyNames(path_, section); }

  testing::TempModuleDir dir_;
  std::string path_ = dir_.ConfigPath();
  PortableProfileFile profile_;
};

TEST_F(ProfileTest, NamesIgnoreCaseAndFirstWins) {
  dir_.WriteConfig(
      "[Sec]\r\nKey=1\r\nkey=2\r\n\xC4rger=3\r\n"
      "[SEC]\r\nother=4\r\n");
  EXPECT_EQ(Read("sec", "KEY"), "1");
  EXPECT_EQ(Read("Sec", "other"), "DEF");  // only the first section counts
  EXPECT_EQ(Read("Sec", "\xC4RGER"), "3");
  EXPECT_EQ(Read("Sec", "\xE4rger"), "DEF");  // only A to Z fold, as Windows reads it
  EXPECT_EQ(Keys("SEC"), (Names{"Key", "key", "\xC4rger"}));
}

TEST_F(ProfileTest, BlanksAndQuotes) {
  dir_.WriteConfig(
      "  [S]  \r\n"
      "  a  =  x y  \r\n"
      "\tb\t=\t\"q\"\t\r\n"
      "c='single'\r\n"
      "d=\"open\r\n"
      "e=\"\"\r\n"
      "f=\"mixed'\r\n"
      "g=\r\n"
      "h = \" spaced \" \r\n");
  EXPECT_EQ(Read("S", "a"), "x y");
  EXPECT_EQ(Read(" S ", " a "), "x y");
  EXPECT_TRUE(Keys(" S ").empty());  // the key list takes the name as it comes
  EXPECT_EQ(Read("S", "b"), "q");
  EXPECT_EQ(Read("S", "c"), "single");
  EXPECT_EQ(Read("S", "d"), "\"open");
  EXPECT_EQ(Read("S", "e"), "");
  EXPECT_EQ(Read("S", "f"), "\"mixed'");
  EXPECT_EQ(Read("S", "g"), "");
  EXPECT_EQ(Read("S", "h"), " spaced ");
}

TEST_F(ProfileTest, LinesWithoutEqualsCommentsAndOddHeaders) {
  dir_.WriteConfig(
      "top=0\n"
      "[S]\n"
      "plain\n"
      ";c=1\n"
      "k=v=w\n"
      "[broken\n"
      "=nameless\n"
      "[T]]\n"
      "t=2\n"
      "[]\n"
      "u=3\n");
  EXPECT_EQ(Read("S", "plain"), "DEF");
  EXPECT_EQ(Read("S", "k"), "v=w");
  EXPECT_EQ(Read("S", "[broken"), "DEF");
  EXPECT_EQ(Read("T]", "t"), "2");  // the last "]" ends the name
  EXPECT_EQ(Read("", "top"), "0");  // the empty name finds the lines before any header
  EXPECT_EQ(Read("", "u"), "DEF");
  EXPECT_EQ(Keys("S"), (Names{"k"}));
}

TEST_F(ProfileTest, LineEnds) {
  dir_.WriteConfig("[S]\ra=1\r\rb=2\n\nc=3\r\n\r\nd=4");
  EXPECT_EQ(Keys("S"), (Names{"a", "b", "c", "d"}));
  EXPECT_EQ(Read("S", "d"), "4");
}

TEST_F(ProfileTest, MissingFileGivesDefaults) {
  EXPECT_EQ(Read("S", "a", "ERROR  "), "ERROR");
  EXPECT_TRUE(Keys("S").empty());
}

TEST_F(ProfileTest, LongValuesAndKeyListsAreCutAsTheBuffersCut) {
  std::string file =
      "[S]\r\nlong=" + std::string(2000, 'v') + "\r\nq=\"" + std::string(1023, 'w') + "\"\r\n";
  // 1000 keys of 9 characters + NUL: more than the 8192-byte list holds.
  for (int i = 0; i < 1000; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "key%06d", i);
    file += std::string(name) + "=1\r\n";
  }
  dir_.WriteConfig(file);
  EXPECT_EQ(Read("S", "long"), std::string(1023, 'v'));
  // A quoted value of exactly the buffer's size loses its last character
  // to the closing quote's removal, as Windows does.
  EXPECT_EQ(Read("S", "q"), std::string(1022, 'w'));
  const Names keys = Keys("S");
  std::size_t used = 0;
  for (const std::string& k : keys) used += k.size() + 1;
  EXPECT_LE(used, 8191u);
  EXPECT_GT(used, 8180u);
  EXPECT_EQ(keys[2], "key000000");
}

TEST_F(ProfileTest, WritesReplaceInsertAndAppend) {
  dir_.WriteConfig("; head\n[A]\nx=1\n\n[B]\ny=2\n");
  EXPECT_TRUE(profile_.WriteText(path_, "a", "X", "  9"));
  EXPECT_TRUE(profile_.WriteText(path_, "A", "z", "3"));
  EXPECT_TRUE(profile_.WriteText(path_, "C", "w", "4"));
  EXPECT_EQ(Read("A", "x"), "9");
  EXPECT_EQ(Read("A", "z"), "3");
  EXPECT_EQ(Read("B", "y"), "2");
  EXPECT_EQ(Read("C", "w"), "4");
  EXPECT_EQ(Keys("A"), (Names{"x", "z"}));  // a key keeps its name
  EXPECT_EQ(dir_.ReadConfig().substr(0, 7), "; head\r");
}

TEST_F(ProfileTest, AWriteThatChangesNothingLeavesTheFileAlone) {
  dir_.WriteConfig("[S]\nk = v\n");
  EXPECT_TRUE(profile_.WriteText(path_, "s", "K", " v"));
  EXPECT_EQ(dir_.ReadConfig(), "[S]\nk = v\n");
}

TEST_F(ProfileTest, WriteMakesAMissingFileButNotAMissingFolder) {
  EXPECT_TRUE(profile_.WriteText(path_, "S", "k", "v"));
  EXPECT_EQ(Read("S", "k"), "v");
  EXPECT_FALSE(profile_.WriteText(dir_.Dir() + "/no/such/dir.cfg", "S", "k", "v"));
}

TEST_F(ProfileTest, AChangeRightAfterAReadIsSeen) {
  // Same size, same second: the reader must not answer from stale data.
  dir_.WriteConfig("[S]\r\nk=1\r\n");
  EXPECT_EQ(Read("S", "k"), "1");
  dir_.WriteConfig("[S]\r\nk=2\r\n");
  EXPECT_EQ(Read("S", "k"), "2");
}

TEST_F(ProfileTest, SnapshotAnswersFromOneReadingUntilItEnds) {
  dir_.WriteConfig("[S]\r\nk=1\r\n");
  {
    ProfileSnapshot snapshot(profile_);
    EXPECT_EQ(Read("S", "k"), "1");
    dir_.WriteConfig("[S]\r\nk=2\r\n");
    EXPECT_EQ(Read("S", "k"), "1");
    // Its own writes are seen at once.
    EXPECT_TRUE(profile_.WriteText(path_, "S", "k", "3"));
    EXPECT_EQ(Read("S", "k"), "3");
    dir_.WriteConfig("[S]\r\nk=4\r\n");
  }
  EXPECT_EQ(Read("S", "k"), "4");
}

TEST(CopyProfileValue, QuoteRemovalAtTheBufferEdge) {
  EXPECT_EQ(CopyProfileValue("\"ab\"", 10), "ab");
  EXPECT_EQ(CopyProfileValue("\"ab\"", 4), "ab");
  EXPECT_EQ(CopyProfileValue("\"ab\"", 3), "a");
  EXPECT_EQ(CopyProfileValue("\"abcd\"", 3), "ab");
  EXPECT_EQ(CopyProfileValue("\"", 10), "\"");
  EXPECT_EQ(CopyProfileValue("x", 0), "");
}

TEST(SplitKeyBlock, ZeroEndedNamesWithinTheCount) {
  const char block[] = "ab\0c\0\0d\0";
  EXPECT_EQ(SplitKeyBlock(block, 8), (Names{"ab", "c", "d"}));
  EXPECT_EQ(SplitKeyBlock(block, 3), (Names{"ab"}));
  EXPECT_EQ(SplitKeyBlock(block, 1), (Names{"a"}));
  EXPECT_TRUE(SplitKeyBlock(block, 0).empty());
}

}  // namespace
}  // namespace rf::chardata

namespace rf::chardata {
namespace {

// A UTF-16 file (either byte order) reads as its code page 1252 text, with
// "?" for what that code page cannot hold, and a write keeps it UTF-16.
TEST(ProfileUtf16, ReadsAsAnsiAndWritesBackAsUtf16) {
  const std::string ansi = "[S]\r\nk=\x80 \xE4\r\n";
  for (ProfileEncoding encoding : {ProfileEncoding::kUtf16Le, ProfileEncoding::kUtf16Be}) {
    testing::TempModuleDir dir;
    // U+0101 has no 1252 code; "\x80" is U+20AC.
    std::string bytes = EncodeProfileText(ansi, encoding);
    const bool be = encoding == ProfileEncoding::kUtf16Be;
    bytes += std::string("\x01\x01", 2);  // the same in both byte orders
    bytes += be ? std::string("\0=\0x", 4) : std::string("=\0x\0", 4);
    dir.WriteConfig(bytes);
    PortableProfileFile profile;
    EXPECT_EQ(profile.ReadText(dir.ConfigPath(), "S", "k", ""), "\x80 \xE4");
    EXPECT_EQ(profile.KeyNames(dir.ConfigPath(), "S"), (std::vector<std::string>{"k", "?"}));
    ASSERT_TRUE(profile.WriteText(dir.ConfigPath(), "S", "n", "\xE9"));
    const std::string written = dir.ReadConfig();
    EXPECT_EQ(written.substr(0, 2), be ? "\xFE\xFF" : "\xFF\xFE");
    EXPECT_EQ(ParseProfile(written).lines,
              (std::vector<std::string>{"[S]", "k=\x80 \xE4", "?=x", "n=\xE9"}));
    EXPECT_EQ(profile.ReadText(dir.ConfigPath(), "S", "n", ""), "\xE9");
  }
}

}  // namespace
}  // namespace rf::chardata
