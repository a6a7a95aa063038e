// Windows' own profile functions and the portable reader must give the
// same answers on the same files: every awkward file below is read through
// both, every section and key asked for with both, and after a series of
// writes through each, each reads what the other wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "chardata/module_file_name.h"
#include "chardata/portable_profile_file.h"
#include "chardata/win32_profile_file.h"

namespace rf::chardata {
namespace {

struct AwkwardFile {
  const char* what;
  std::string bytes;
};

std::string ManyKeys() {
  std::string s = "[Many]\r\n";
  for (int i = 0; i < 1000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "key%06d=%d\r\n", i, i);
    s += name;
  }
  return s;
}

std::vector<AwkwardFile> AwkwardFiles() {
  return {
      {"plain", "[S]\r\na=1\r\nb=2\r\n"},
      {"case and repeats",
       "[Sec]\r\nKey=1\r\nkey=2\r\n\xC4rger=3\r\n[SEC]\r\nother=4\r\nKey=5\r\n"},
      {"blanks",
       "  [S]  \r\n  a  =  x y  \r\n\tb\t=\t\"q\"\t\r\n\x0B"
       "c\x0C=\x0C"
       "3\x0B\r\n"},
      {"quotes",
       "[S]\r\nc='single'\r\nd=\"open\r\ne=\"\"\r\nf=\"mixed'\r\ng=\r\nh = \" spaced \" \r\n"
       "i='\r\nj=\"a\"b\"\r\n"},
      {"no equals, comments, odd headers",
       "top=0\n[S]\nplain\n;c=1\n#h=2\nk=v=w\n[broken\n=nameless\n[T]]\nt=2\n[]\nu=3\n"
       "[ S2 ]\nv=4\n[S3]junk\nw=5\n[a]b]\nx=6\n"},
      {"line ends", "[S]\ra=1\r\rb=2\n\nc=3\r\n\r\nd=4"},
      {"eof mark and latin blanks",
       "[S]\r\na=\x1A"
       "1\x1A\r\nb=\xA0"
       "2\xA0\r\nc=\x85"
       "3\x85\r\n"},
      {"bom", "\xEF\xBB\xBF[S]\r\na=1\r\n"},
      {"empty", ""},
      {"only breaks", "\r\n\r\n\n"},
      // "[S]\r\na=\xC9\u20AC\u4E00\r\n": U+4E00 is not in code page 1252 and has
      // no look-alike there (U+0100 would read as "A", which the portable
      // reader does not do).
      {"utf-16 le",
       std::string("\xFF\xFE[\0S\0]\0\r\0\n\0a\0=\0\xC9\0\xAC\x20\x00\x4E\r\0\n\0", 26)},
      {"utf-16 be",
       std::string("\xFE\xFF\0[\0S\0]\0\r\0\n\0a\0=\0\xC9\x20\xAC\x4E\x00\0\r\0\n", 26)},
      {"long values", "[S]\r\nlong=" + std::string(2000, 'v') + "\r\nq=\"" +
                          std::string(1023, 'w') + "\"\r\nr=\"" + std::string(1021, 'w') +
                          "\"\r\n"},
      {"many keys", ManyKeys()},
      {"upper half", "[\xC4\xD6\xDC]\r\n\xE4=\xFC\r\n[\x8A]\r\n\x9A=\x9F\r\n"},
      {"settings file",
       "[Ausgabe]\r\nTyp=Entitie\r\n[Zeichensatz]\r\nTyp=ISO8859-5\r\n"
       "[Benutzer]\r\nTyp1=\r\nTyp2=Grad\r\n[Default]\r\nTyp1=&#\xA7\r\n"},
  };
}

// Sections and keys asked for in every file, besides those the files list.
const std::vector<std::string> kSections = {
    "S",    "s",       "SEC",      " S ",     "T]",      "T",    "S2",
    " S2 ", "S3",      "a",        "a]b",     "",        "Many", "\xE4\xF6\xFC",
    "\x9A", "Ausgabe", "Benutzer", "Default", "[broken", "none"};
const std::vector<std::string> kKeys = {
    "a",    "A",     " a ",  "b",    "c",   "d",         "e",         "f",        "g",     "h",
    "i",    "j",     "k",    "q",    "r",   "t",         "u",         "v",        "w",     "x",
    "long", "plain", ";c",   "#h",   "top", "Key",       "key",       "\xE4rger", "other", "\xC4",
    "\x8A", "Typ",   "Typ1", "Typ2", "",    "=nameless", "key000999", "missing"};

class ProfileDifferential : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, tmp), 0u);
    dir_ = std::string(tmp) + "rfcd" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& f : made_) DeleteFileA(f.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  std::string MakeFile(const std::string& name, const std::string& bytes) {
    const std::string path = dir_ + "\\" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    made_.push_back(path);
    return path;
  }
  // Every answer of one reader on one file, as text lines.
  static std::vector<std::string> Answers(ProfileFile& p, const std::string& path,
                                          std::vector<std::string> sections) {
    std::vector<std::string> out;
    for (const std::string& s : sections) {
      std::set<std::string> keys(kKeys.begin(), kKeys.end());
      std::string listed;
      for (const std::string& k : p.KeyNames(path, s)) {
        listed += "<" + k + ">";
        keys.insert(k);
      }
      out.push_back("[" + s + "] keys " + listed);
      for (const std::string& k : keys) {
        out.push_back("[" + s + "] " + k + " = <" + p.ReadText(path, s, k, "DEF  ") + ">");
      }
    }
    return out;
  }
  static void ExpectSame(const std::vector<std::string>& win, const std::vector<std::string>& mine,
                         const char* what) {
    for (std::size_t i = 0; i < std::min(win.size(), mine.size()); ++i) {
      EXPECT_EQ(mine[i], win[i]) << what;
      if (mine[i] != win[i]) break;
    }
    EXPECT_EQ(win.size(), mine.size()) << what;
  }

  std::string dir_;
  std::vector<std::string> made_;
  Win32ProfileFile win_;
  PortableProfileFile portable_;
};

TEST_F(ProfileDifferential, SameAnswersOnAwkwardFiles) {
  int n = 0;
  for (const AwkwardFile& f : AwkwardFiles()) {
    const std::string path = MakeFile("read" + std::to_string(n++) + ".cfg", f.bytes);
    ExpectSame(Answers(win_, path, kSections), Answers(portable_, path, kSections), f.what);
  }
}

TEST_F(ProfileDifferential, MissingFile) {
  const std::string path = dir_ + "\\absent.cfg";
  ExpectSame(Answers(win_, path, {"S"}), Answers(portable_, path, {"S"}), "absent");
}

TEST_F(ProfileDifferential, WritesReadTheSameEitherWay) {
  struct Write {
    std::string section, key, value;
  };
  const std::vector<Write> writes = {
      {"A", "x", "9"},
      {"a", "X", "  10"},
      {"A", "new", "n"},
      {"C", "w", "4"},
      {"S", "a", "1"},
      {"S", "plain", "p"},
      {"Zeichensatz", "Typ", "CP850"},
      {"Ausgabe", "Typ", "Hexadezimal"},
      {"B", "y", "\"quoted\""},
      {"B", "e", ""},
  };
  const std::string start = "; head\n[A]\nx=1\n\n[B]\ny=2\n[S]\nplain\na=1\n";
  const std::string by_win = MakeFile("w1.cfg", start);
  const std::string by_mine = MakeFile("w2.cfg", start);
  for (const Write& w : writes) {
    EXPECT_TRUE(win_.WriteText(by_win, w.section, w.key, w.value));
    EXPECT_TRUE(portable_.WriteText(by_mine, w.section, w.key, w.value));
  }
  const std::vector<std::string> sections = {"A", "B", "C", "S", "Zeichensatz", "Ausgabe"};
  const auto truth = Answers(win_, by_win, sections);
  ExpectSame(truth, Answers(win_, by_mine, sections), "Windows reads the portable file");
  ExpectSame(truth, Answers(portable_, by_win, sections), "portable reads the Windows file");
  ExpectSame(truth, Answers(portable_, by_mine, sections), "portable reads its own file");
}

// A UTF-16 file stays UTF-16 and answers the same after writes either way.
TEST_F(ProfileDifferential, WritesIntoAUtf16File) {
  const std::string start("\xFF\xFE[\0S\0]\0\r\0\n\0a\0=\0\xC9\0\r\0\n\0", 22);
  const std::string by_win = MakeFile("u1.cfg", start);
  const std::string by_mine = MakeFile("u2.cfg", start);
  for (const bool win : {true, false}) {
    ProfileFile& p = win ? static_cast<ProfileFile&>(win_) : portable_;
    const std::string& path = win ? by_win : by_mine;
    EXPECT_TRUE(p.WriteText(path, "S", "a", "\xE9"));
    EXPECT_TRUE(p.WriteText(path, "S", "b", "\x80"));
    EXPECT_TRUE(p.WriteText(path, "T", "c", "3"));
  }
  const auto truth = Answers(win_, by_win, {"S", "T"});
  ExpectSame(truth, Answers(win_, by_mine, {"S", "T"}), "Windows reads the portable file");
  ExpectSame(truth, Answers(portable_, by_win, {"S", "T"}), "portable reads the Windows file");
  std::ifstream in(by_win, std::ios::binary);
  char bom[2] = {};
  in.read(bom, 2);
  EXPECT_EQ(std::string(bom, 2), "\xFF\xFE");
}

TEST_F(ProfileDifferential, WritesIntoAMissingFolderFailBothWays) {
  const std::string path = dir_ + "\\no\\such.cfg";
  EXPECT_FALSE(win_.WriteText(path, "S", "k", "v"));
  EXPECT_FALSE(portable_.WriteText(path, "S", "k", "v"));
}

TEST_F(ProfileDifferential, ReadOnlyFile) {
  const std::string path = MakeFile("ro.cfg", "[Ausgabe]\r\nTyp=Dezimal\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  // A write that changes nothing succeeds without touching the file.
  const bool win_same = win_.WriteText(path, "Ausgabe", "Typ", "Dezimal");
  const bool mine_same = portable_.WriteText(path, "Ausgabe", "Typ", "Dezimal");
  const bool win_new = win_.WriteText(path, "Ausgabe", "Typ", "Entitie");
  const bool mine_new = portable_.WriteText(path, "Ausgabe", "Typ", "Entitie");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(mine_same, win_same);
  EXPECT_EQ(mine_new, win_new);
  EXPECT_TRUE(win_same);
  // (Run as root, Wine writes read-only files all the same; then both do.)
  EXPECT_EQ(win_.ReadText(path, "Ausgabe", "Typ", ""), win_new ? "Entitie" : "Dezimal");
}

TEST(ModuleFileName, IsThisModulesFullPath) {
  const std::string name = PluginModuleFileName();
  ASSERT_GT(name.size(), 3u);
  EXPECT_EQ(name[1], ':');
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  EXPECT_NE(lower.find("chardata_win_tests.exe"), std::string::npos) << name;
}

}  // namespace
}  // namespace rf::chardata
