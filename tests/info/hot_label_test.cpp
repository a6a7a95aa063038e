#include <gtest/gtest.h>

#include <vector>

#include "info/NxHotLabelBase.h"

namespace rf::info {
namespace {

// The plain label underneath, in memory; records what reaches the shell.
class FakeLabel : public NxHotLabelBase {
 public:
  FakeLabel() { Construct(); }

  std::string caption;
  FontAttributes font;
  std::string hint;
  bool enabled = true;
  int base_clicks = 0;
  std::intptr_t shell_result = 42;
  std::vector<std::string> opened;

 protected:
  std::string LabelCaption() const override { return caption; }
  void SetLabelCaption(const std::string& text) override { caption = text; }
  FontAttributes LabelFont() const override { return font; }
  void SetLabelFont(const FontAttributes& f) override { font = f; }
  std::string LabelHint() const override { return hint; }
  bool LabelEnabled() const override { return enabled; }
  void LabelClick() override { ++base_clicks; }
  std::intptr_t OpenURL(const std::string& url) override {
    opened.push_back(url);
    return shell_result;
  }
};

const std::string kDefault(kDefaultURL);

TEST(HotLabelTest, ConstructionSetsTheDocumentedDefaults) {
  FakeLabel l;
  EXPECT_TRUE(l.CaptionIsURL());
  EXPECT_TRUE(l.ValidateURL());
  EXPECT_FALSE(l.HighlightURL());
  EXPECT_EQ(l.HintStyle(), hsNormal);
  EXPECT_EQ(l.URL(), kDefault);
  EXPECT_EQ(l.GetCaption(), kDefault);
  EXPECT_EQ(l.font.color, kNavy);
  EXPECT_TRUE(l.font.underline);
  FontAttributes highlight = l.font;
  highlight.color = kRed;
  EXPECT_EQ(l.HighlightFont(), highlight);
}

TEST(HotLabelTest, CaptionAndUrlAreCoupledOnlyWhileCaptionIsUrl) {
  FakeLabel l;
  l.SetCaption("http://a.example/");
  EXPECT_EQ(l.URL(), "http://a.example/");
  l.SetURL("ftp://b.example/");
  EXPECT_EQ(l.GetCaption(), "ftp://b.example/");

  l.SetCaptionIsURL(false);
  l.SetCaption("Click here");
  EXPECT_EQ(l.URL(), "ftp://b.example/");
  l.SetURL("mailto:c@example.com");
  EXPECT_EQ(l.GetCaption(), "Click here");

  // Turning it on again shows the URL as the caption.
  l.SetCaptionIsURL(true);
  EXPECT_EQ(l.GetCaption(), "mailto:c@example.com");
}

TEST(HotLabelTest, RejectedWritesLeaveCaptionAndUrlUnchanged) {
  FakeLabel l;
  EXPECT_THROW(l.SetURL("www.example.com"), ENxURLError);
  EXPECT_THROW(l.SetCaption("example.com"), ENxURLError);
  EXPECT_EQ(l.URL(), kDefault);
  EXPECT_EQ(l.GetCaption(), kDefault);

  l.SetCaptionIsURL(false);
  l.SetCaption("Home");
  EXPECT_THROW(l.SetURL("gopher://x"), ENxURLError);
  EXPECT_EQ(l.URL(), kDefault);
  EXPECT_EQ(l.GetCaption(), "Home");
}

TEST(HotLabelTest, WithoutValidationAnyUrlIsTaken) {
  FakeLabel l;
  l.SetValidateURL(false);
  l.SetURL("www.example.com");
  EXPECT_EQ(l.URL(), "www.example.com");
  EXPECT_EQ(l.GetCaption(), "www.example.com");
  l.SetCaption("plain text");
  EXPECT_EQ(l.URL(), "plain text");
}

TEST(HotLabelTest, TurningValidationOnFallsBackToTheDefaultAndStillReports) {
  FakeLabel l;
  l.SetValidateURL(false);
  l.SetURL("www.example.com");
  EXPECT_THROW(l.SetValidateURL(true), ENxURLError);
  EXPECT_TRUE(l.ValidateURL());
  EXPECT_EQ(l.URL(), kDefault);
  EXPECT_EQ(l.GetCaption(), kDefault);
  // An acceptable URL stays.
  l.SetURL("https://example.org/");
  EXPECT_NO_THROW(l.SetValidateURL(true));
  EXPECT_EQ(l.URL(), "https://example.org/");
}

// A label whose own check refuses the default URL too.
class StrictLabel : public FakeLabel {
 public:
  void CheckURL(const std::string& url) const override {
    if (!url.empty() && url.rfind("https://", 0) != 0)
      throw ENxURLError(UrlMessage(kProtocolMessage, url));
  }
};

TEST(HotLabelTest, DefaultUrlFallsBackToEmptyWhenRefused) {
  StrictLabel l;
  l.SetURL("https://example.org/");
  l.SetDefaultURL();
  EXPECT_EQ(l.URL(), "");
  EXPECT_EQ(l.GetCaption(), "");
}

TEST(HotLabelTest, LoadingStoresUrlsUncheckedUntilTheAfterLoadingStep) {
  struct Case {
    const char* what;
    NxHotLabelProperties stored;
    bool loaded_throws;
    std::string url;
    std::string caption;
  };
  const std::vector<Case> cases = {
      {"bare host with CaptionIsURL clear passes",
       {.caption_is_url = false, .url = "www.example.com", .caption = "www.example.com"},
       false,
       "www.example.com",
       "www.example.com"},
      {"bare host with CaptionIsURL set is rejected after loading",
       {.url = "www.example.com"},
       true,
       "www.example.com",
       kDefault},
      {"caption written while loading becomes the URL unchecked",
       {.caption = "Home"},
       true,
       "Home",
       "Home"},
      {"ValidateURL off stores anything",
       {.caption_is_url = false, .url = "x y", .validate_url = false, .caption = "   "},
       false,
       "x y",
       "   "},
      {"a good URL is shown as the caption after loading",
       {.url = "mailto:a@example.com"},
       false,
       "mailto:a@example.com",
       "mailto:a@example.com"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeLabel l;
    l.ReadProperties(c.stored);
    EXPECT_TRUE(l.Loading());
    if (c.loaded_throws)
      EXPECT_THROW(l.Loaded(), ENxURLError);
    else
      EXPECT_NO_THROW(l.Loaded());
    EXPECT_FALSE(l.Loading());
    EXPECT_EQ(l.URL(), c.url);
    EXPECT_EQ(l.GetCaption(), c.caption);
  }
}

TEST(HotLabelTest, ValidateUrlChecksEvenWhileLoading) {
  FakeLabel l;
  EXPECT_THROW(
      l.ReadProperties({.caption_is_url = false, .url = "www.example.com", .validate_url = true}),
      ENxURLError);
  EXPECT_EQ(l.URL(), kDefault);
}

TEST(HotLabelTest, LoadedUrlIsCheckedWhenWrittenLater) {
  FakeLabel l;
  l.ReadProperties({.caption_is_url = false, .url = "www.example.com"});
  l.Loaded();
  EXPECT_THROW(l.SetURL("www.example.org"), ENxURLError);
  EXPECT_EQ(l.URL(), "www.example.com");
}

TEST(HotLabelTest, HighlightSwapsFontsOnlyWhenEnabled) {
  FakeLabel l;
  const FontAttributes normal = l.font;
  l.PointerEntered();
  EXPECT_EQ(l.font, normal);
  EXPECT_FALSE(l.Highlighted());
  l.PointerLeft();
  EXPECT_EQ(l.font, normal);

  l.SetHighlightURL(true);
  l.PointerEntered();
  EXPECT_TRUE(l.Highlighted());
  EXPECT_EQ(l.font.color, kRed);
  EXPECT_EQ(l.GetFont(), normal);
  l.PointerLeft();
  EXPECT_FALSE(l.Highlighted());
  EXPECT_EQ(l.font, normal);
}

TEST(HotLabelTest, FontWrittenUnderThePointerAppearsOnLeaving) {
  FakeLabel l;
  l.SetHighlightURL(true);
  l.PointerEntered();
  FontAttributes bigger = l.GetFont();
  bigger.height = 20;
  l.SetFont(bigger);
  EXPECT_EQ(l.font.color, kRed);
  EXPECT_EQ(l.font.height, l.HighlightFont().height);
  EXPECT_EQ(l.GetFont(), bigger);
  l.PointerLeft();
  EXPECT_EQ(l.font, bigger);
}

TEST(HotLabelTest, LeavingRestoresTheFontEvenIfHighlightWasTurnedOffMeanwhile) {
  FakeLabel l;
  const FontAttributes normal = l.font;
  l.SetHighlightURL(true);
  l.PointerEntered();
  l.SetHighlightURL(false);
  l.PointerLeft();
  EXPECT_FALSE(l.Highlighted());
  EXPECT_EQ(l.font, normal);
  // And turning it on inside the label brings no stale font on leaving.
  l.SetHighlightURL(true);
  FontAttributes other = normal;
  other.bold = true;
  l.SetFont(other);
  l.PointerLeft();
  EXPECT_EQ(l.font, other);
}

TEST(HotLabelTest, CustomHintGetsTheWholeHintAndMayRewriteIt) {
  FakeLabel l;
  l.hint = "Internet|long text";
  std::string shown = "Internet";
  l.HintShowing(shown);  // hsNormal: untouched
  EXPECT_EQ(shown, "Internet");
  l.SetHintStyle(hsURL);
  l.HintShowing(shown);
  EXPECT_EQ(shown, "Internet");

  l.SetHintStyle(hsCustom);
  l.HintShowing(shown);  // no handler: the whole hint
  EXPECT_EQ(shown, "Internet|long text");

  NxHotLabelBase* sender = nullptr;
  l.OnCustomHint = [&](NxHotLabelBase& s, std::string& hint) {
    sender = &s;
    hint = "[" + hint + "] " + s.URL();
  };
  shown = "Internet";
  l.HintShowing(shown);
  EXPECT_EQ(sender, &l);
  EXPECT_EQ(shown, "[Internet|long text] " + kDefault);
}

TEST(HotLabelTest, ClickOpensTheUrlAndReportsShellFailures) {
  struct Case {
    const char* what;
    std::string url;
    bool enabled;
    std::intptr_t shell_result;
    bool opens;
    bool throws;
  };
  const std::vector<Case> cases = {
      {"success", "http://example.com/", true, 33, true, false},
      {"exactly 32 is a failure", "http://example.com/", true, 32, true, true},
      {"error code", "mailto:x@example.com", true, 2, true, true},
      {"empty URL opens nothing", "", true, 0, false, false},
      {"disabled label opens nothing", "http://example.com/", false, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeLabel l;
    l.SetURL(c.url);
    l.enabled = c.enabled;
    l.shell_result = c.shell_result;
    if (c.throws) {
      try {
        l.Clicked();
        ADD_FAILURE() << "no error";
      } catch (const ENxURLError& e) {
        EXPECT_EQ(std::string(e.what()), "Can't access URL \"" + c.url + "\"");
      }
      EXPECT_EQ(l.base_clicks, 0);
    } else {
      EXPECT_NO_THROW(l.Clicked());
      EXPECT_EQ(l.base_clicks, 1);
    }
    EXPECT_EQ(l.opened, c.opens ? std::vector<std::string>{c.url} : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace rf::info
