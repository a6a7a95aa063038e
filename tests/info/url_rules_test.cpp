#include <gtest/gtest.h>

#include "info/NxUrlRules.h"

namespace rf::info {
namespace {

struct UrlCase {
  const char* url;
  bool accepted;
};

class CheckUrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(CheckUrlTest, AcceptsExactlyTheRecognisedPrefixes) {
  const UrlCase& c = GetParam();
  EXPECT_EQ(IsAcceptedURL(c.url), c.accepted);
  if (c.accepted) {
    EXPECT_NO_THROW(CheckURL(c.url));
  } else {
    try {
      CheckURL(c.url);
      FAIL() << "accepted " << c.url;
    } catch (const ENxURLError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("Protocol not recognised for URL \"") + c.url + "\"");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Urls, CheckUrlTest,
    ::testing::Values(UrlCase{"", true}, UrlCase{"http://localhost/", true},
                      UrlCase{"HTTP://EXAMPLE.COM", true},
                      UrlCase{"https://example.org/x?a=1", true}, UrlCase{"HtTpS://x", true},
                      UrlCase{"mailto", true}, UrlCase{"mailto:someone@example.com", true},
                      UrlCase{"MAILTOsomething", true},  // the prefix has no colon
                      UrlCase{"file:", true}, UrlCase{"file:c:\\x.htm", true},
                      UrlCase{"FTP://example.com", true},
                      // Shorter than every prefix, other schemes, bare host names.
                      UrlCase{"h", false}, UrlCase{"http:/", false}, UrlCase{"http", false},
                      UrlCase{"mailt", false}, UrlCase{"file", false}, UrlCase{"ftp:", false},
                      UrlCase{"gopher://example.com", false}, UrlCase{"www.example.com", false},
                      UrlCase{" http://x", false}, UrlCase{"news:comp", false},
                      // Only a to z fold: these are not the letters of "mailto".
                      UrlCase{"m\xC1ilto", false}, UrlCase{"\xCDttp://x", false}));

TEST(UrlRulesTest, DefaultUrlIsTheLocalRootPageOverHttp) {
  EXPECT_TRUE(IsAcceptedURL(kDefaultURL));
  EXPECT_EQ(kDefaultURL.substr(0, 7), "http://");
  EXPECT_EQ(kDefaultURL.back(), '/');
}

TEST(UrlRulesTest, MessagesCarryTheUrlInQuotes) {
  EXPECT_EQ(UrlMessage(kAccessMessage, "mailto:a@b"), "Can't access URL \"mailto:a@b\"");
  // A %s inside the URL is not expanded again.
  EXPECT_EQ(UrlMessage(kProtocolMessage, "x%sy"), "Protocol not recognised for URL \"x%sy\"");
}

}  // namespace
}  // namespace rf::info
