#include <gtest/gtest.h>

#include "info/InfoTexts.h"
#include "info/NxUrlRules.h"

namespace rf::info {
namespace {

TEST(InfoTextsTest, NoticeLineDecipheresFromItsStoredForm) {
  EXPECT_EQ(kNoticeCipher.size(), 42u);
  EXPECT_EQ(kMakerName.size(), 7u);
  EXPECT_EQ(NoticeLine(), "Copyright by Example");
}

TEST(InfoTextsTest, LinksAreWhatTheShellIsHanded) {
  EXPECT_EQ(ErrorMailURL(), "mailto:fehler@example.com");
  EXPECT_EQ(DonationURL(),
            "https://www.example.org/cgi-bin/webscr?cmd=_xclick"
            "&business=spenden%40example%2eorg&item_name=Runefold&amount=9%2e99"
            "&no_shipping=0&no_note=1&tax=0&currency_code=EUR&lc=DE"
            "&bn=PP%2dDonationsBF&charset=UTF%2d8");
  EXPECT_TRUE(IsAcceptedURL(ErrorMailURL()));
  EXPECT_TRUE(IsAcceptedURL(DonationURL()));
  // The site is shown and opened without a scheme.
  EXPECT_FALSE(IsAcceptedURL(kWebSite));
}

}  // namespace
}  // namespace rf::info
