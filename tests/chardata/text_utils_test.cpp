#include "chardata/text_utils.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace rf::chardata {
namespace {

using Items = std::vector<std::string>;

TEST(SplitText, ItemsAtEverySeparator) {
  struct Case {
    std::string text, sep;
    Items items;
  };
  const Case cases[] = {
      {"a,,b", ",", {"a", "", "b"}},   {"a,b,", ",", {"a", "b", ""}},
      {",a", ",", {"", "a"}},          {"", ",", {""}},
      {"abc", ",", {"abc"}},           {"a::b:c", "::", {"a", "b:c"}},  // searched as a whole
      {"a:::b", "::", {"a", ":b"}},    {"x", "", {"x"}},  // an empty separator occurs nowhere
      {"k=v=w", "=", {"k", "v", "w"}},
  };
  for (const Case& c : cases) {
    Items out = {"stale"};
    SplitText(c.text, c.sep, out);
    EXPECT_EQ(out, c.items) << "'" << c.text << "' at '" << c.sep << "'";
  }
}

TEST(ExtractField, CountsFromOneAndGivesEmptyOutside) {
  EXPECT_EQ(ExtractField("174=x,174,reg", ",", 2), "174");
  EXPECT_EQ(ExtractField("174=x,174,reg", "=", 1), "174");
  EXPECT_EQ(ExtractField("174=x,174,reg", ",", 4), "");
  EXPECT_EQ(ExtractField("174=x,174,reg", ",", 0), "");
  EXPECT_EQ(ExtractField("174=x,174,reg", ",", -1), "");
  EXPECT_EQ(ExtractField("174=x,174,reg", ",", 3), "reg");
  EXPECT_EQ(ExtractField("", ",", 1), "");
}

TEST(HasSeparatorCount, CountsSingleCharactersOnly) {
  EXPECT_TRUE(HasSeparatorCount("a,b,c,d,e,f", ",", 5));
  EXPECT_FALSE(HasSeparatorCount("a,b,c,d,e", ",", 5));
  EXPECT_FALSE(HasSeparatorCount("a,b,c,d,e,f,g", ",", 5));
  EXPECT_TRUE(HasSeparatorCount("", ",", 0));
  // A longer separator matches nothing, so only a count of 0 holds.
  EXPECT_TRUE(HasSeparatorCount(",,,,", ",,", 0));
  EXPECT_FALSE(HasSeparatorCount(",,,,", ",,", 2));
  EXPECT_TRUE(HasSeparatorCount("abc", "", 0));
}

TEST(TextToNumber, ReadsLeadingNumberAndNeverFails) {
  struct Case {
    std::string text;
    std::int32_t value;
  };
  const Case cases[] = {
      {"160", 160},
      {"  42", 42},
      {"42 ", 42},
      {"12a", 12},
      {"a12", 0},
      {"", 0},
      {"   ", 0},
      {"$A0", 160},
      {"$a0", 160},
      {"$", 0},
      {"-5", -5},
      {"+5", 5},
      {"-", 0},
      {"-$10", 0},
      {"0x10", 0},
      {"\t5", 0},  // only code 32 counts as a blank
      {" -7", -7},
      {"- 7", 0},
      {"$1G", 1},
      {"$FFFF", 65535},
      // Decided here: the sign applies to the digits read, junk after them
      // or not, and numbers beyond 32 bits saturate.
      {"-5x", -5},
      {"-12,3", -12},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999999", 2147483647},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", 2147483647},
      {"$FFFFFFFFFFFFFFFFFFFF", 2147483647},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToNumber(c.text), c.value) << "'" << c.text << "'";
  }
}

TEST(ExpandTemplate, ReplacesFirstSectionSignOrPrefixes) {
  struct Case {
    std::string tmpl, value, result;
  };
  const Case cases[] = {
      {"&#\xA7", "160;", "&#160;"},
      {"&#x\xA7;", "00A0", "&#x00A0;"},
      {"[\xA7]\xA7", "v", "[v]\xA7"},
      {"abc", "v", "vabc"},
      {"a\xA7"
       "b",
       "", "ab"},
      {"", "v", "v"},
      {"\xA7", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandTemplate(c.tmpl, c.value), c.result) << c.tmpl;
  }
}

// The inverse of DecodeHexText, to make test data: pair i + 1 is chosen so
// that decoding gives plain[i].
std::string EncodeHexText(const std::string& plain, const std::string& key, int offset) {
  auto hex = [](int v) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", v);
    return std::string(buf);
  };
  std::string out = hex(offset);
  int prev = offset;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const int want = static_cast<unsigned char>(plain[i]);
    const int k = static_cast<unsigned char>(key[i % key.size()]);
    for (int cur = 0; cur < 256; ++cur) {
      const int t = cur ^ k;
      const int code = t > prev ? t - prev : t + 255 - prev;
      if (code == want) {
        out += hex(cur);
        prev = cur;
        break;
      }
    }
  }
  return out;
}

TEST(DecodeHexText, DecodesWithCyclicKeyAndRunningOffset) {
  const std::string key = "Key";
  const std::string plain = "mailto:someone@example.org";  // longer than the key
  const std::string hex = EncodeHexText(plain, key, 0x3C);
  ASSERT_EQ(hex.size(), 2 * (plain.size() + 1));
  EXPECT_EQ(DecodeHexText(hex, key), plain);
  // Lower-case digits read the same.
  std::string lower = hex;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(DecodeHexText(lower, key), plain);
}

TEST(DecodeHexText, EdgeRules) {
  // XOR equal to the running offset gives 255 (t + 255 - offset).
  // offset 0x10, cur 0x10 ^ 'A' so that t == offset.
  const int cur = 0x10 ^ 'A';
  char pair[3];
  std::snprintf(pair, sizeof pair, "%02X", cur);
  EXPECT_EQ(DecodeHexText(std::string("10") + pair, "A"), "\xFF");
  // One pair: the loop still runs once, the missing pair reads as 0.
  // offset 5, t = 0 ^ 'A' = 65 > 5: 60.
  EXPECT_EQ(DecodeHexText("05", "A"), std::string(1, static_cast<char>(60)));
  // Empty text: offset 0, one character from a missing pair: t = 65.
  EXPECT_EQ(DecodeHexText("", "A"), "A");
  // Empty key: nothing to decode with.
  EXPECT_EQ(DecodeHexText("0041", ""), "");
  // Odd length: the lone last digit is not read.
  EXPECT_EQ(DecodeHexText("0041F", "\x01"), DecodeHexText("0041", "\x01"));
  // Length 3: the last pair is a single digit, read on its own.
  EXPECT_EQ(DecodeHexText("004", "\x01"), std::string(1, static_cast<char>(5)));
  // Non-hex characters read as far as they are digits ("$G1" is 0).
  EXPECT_EQ(DecodeHexText("00G1", "\x01"), DecodeHexText("0000", "\x01"));
  EXPECT_EQ(DecodeHexText("001G", "\x01"), DecodeHexText("0001", "\x01"));
}

}  // namespace
}  // namespace rf::chardata
