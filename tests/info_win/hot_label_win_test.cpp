// The hot-link label as a window: built from a layout with stored
// properties, its fonts, highlight, hint, click and loading errors.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/form.h"
#include "info/NxHotLabel.h"

namespace rf::info {
namespace {

const FontAttributes kLink{
    .name = "MS Sans Serif", .height = 11, .underline = true, .color = kNavy};

const NxHotLabelProperties kSite{.caption_is_url = false,
                                 .hint_style = hsCustom,
                                 .url = "www.example.com",
                                 .caption = "Our site",
                                 .font = kLink};
const NxHotLabelProperties kBadUrlShownAsCaption{.url = "www.example.com"};

const fw::FormSpec kForm{.name = "TestForm",
                         .caption = "Hot label test",
                         .client_width = 200,
                         .client_height = 100,
                         .font = {"MS Sans Serif", 11}};

fw::ControlSpec HotLabel(const char* name, const NxHotLabelProperties* props,
                         bool transparent = false) {
  return {.name = name,
          .kind = fw::ControlKind::Custom,
          .bounds = {10, 10, 80, 13},
          .show_accel_char = false,
          .transparent = transparent,
          .hint = "Internet",
          .show_hint = true,
          .class_name = "TNxHotLabel",
          .properties = props};
}

class HotLabelWinTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterNxHotLabel();
  }

 protected:
  void SetUp() override {
    layout_ = {HotLabel("Link", &kSite, true)};
    form_ = std::make_unique<fw::Form>(kForm, layout_);
    label_ = &form_->Get<TNxHotLabel>("Link");
    label_->shell_opener = [this](HWND owner, const std::string& url) -> std::intptr_t {
      opened_.push_back(url);
      owners_.push_back(owner);
      return 42;
    };
  }
  LOGFONTA ShownFont() const {
    LOGFONTA lf = {};
    HFONT f = reinterpret_cast<HFONT>(SendMessageA(label_->Handle(), WM_GETFONT, 0, 0));
    GetObjectA(f, sizeof lf, &lf);
    return lf;
  }

  std::vector<fw::ControlSpec> layout_;
  std::unique_ptr<fw::Form> form_;
  TNxHotLabel* label_ = nullptr;
  std::vector<std::string> opened_;
  std::vector<HWND> owners_;
};

TEST_F(HotLabelWinTest, StoredPropertiesReachTheWindow) {
  EXPECT_EQ(label_->GetCaption(), "Our site");
  EXPECT_EQ(label_->Text(), "Our site");
  EXPECT_EQ(label_->URL(), "www.example.com");
  EXPECT_FALSE(label_->Loading());
  EXPECT_EQ(label_->Layout().cursor, HandCursorId);
  EXPECT_EQ(label_->TextColor(), kNavy);
  EXPECT_TRUE(ShownFont().lfUnderline);
  EXPECT_EQ(ShownFont().lfHeight, -11);
  const LONG style = GetWindowLongA(label_->Handle(), GWL_STYLE);
  const LONG ex_style = GetWindowLongA(label_->Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(style & SS_NOPREFIX);
  EXPECT_TRUE(style & SS_NOTIFY);
  EXPECT_TRUE(ex_style & WS_EX_TRANSPARENT);
}

TEST_F(HotLabelWinTest, HighlightFollowsThePointer) {
  label_->SetHighlightURL(true);
  SendMessageA(label_->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(label_->Highlighted());
  EXPECT_EQ(label_->TextColor(), kRed);
  // A font written now appears once the pointer has left.
  FontAttributes bold = kLink;
  bold.bold = true;
  label_->SetFont(bold);
  EXPECT_EQ(ShownFont().lfWeight, FW_NORMAL);
  SendMessageA(label_->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(label_->Highlighted());
  EXPECT_EQ(label_->TextColor(), kNavy);
  EXPECT_EQ(ShownFont().lfWeight, FW_BOLD);
}

TEST_F(HotLabelWinTest, ClickGoesThroughTheShellSeamThenTheClickEvent) {
  int clicks = 0;
  label_->OnClick = [&] { ++clicks; };
  SendMessageA(label_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(label_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], "www.example.com");
  EXPECT_EQ(owners_[0], form_->Handle());
  EXPECT_EQ(clicks, 1);

  // Disabled: no shell, only the click event.
  EnableWindow(label_->Handle(), FALSE);
  SendMessageA(label_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(clicks, 2);
}

HWND TipOf(HWND form) {
  struct Find {
    HWND form, tip = nullptr;
  } find{form};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Find*>(lp);
        char cls[64] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(w, GW_OWNER) == f->form) {
          f->tip = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.tip;
}

TEST_F(HotLabelWinTest, CustomHintIsAskedForWhenTheTipShows) {
  HWND tip = TipOf(form_->Handle());
  ASSERT_NE(tip, nullptr);
  auto shown = [&] {
    char text[128] = {};
    TTTOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = label_->Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(label_->Handle());
    ti.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
    return std::string(text);
  };
  EXPECT_EQ(shown(), "Internet");
  label_->OnCustomHint = [](NxHotLabelBase& sender, std::string& hint) {
    hint += " - " + sender.URL();
  };
  EXPECT_EQ(shown(), "Internet - www.example.com");
  label_->SetHintStyle(hsNormal);
  EXPECT_EQ(shown(), "Internet");
}

TEST(HotLabelWinLoading, UnacceptableUrlShownAsCaptionFailsTheForm) {
  HotLabelWinTest::SetUpTestSuite();
  const fw::ControlSpec layout[] = {HotLabel("Bad", &kBadUrlShownAsCaption)};
  try {
    fw::Form form(kForm, layout);
    FAIL() << "form built";
  } catch (const ENxURLError& e) {
    EXPECT_STREQ(e.what(), "Protocol not recognised for URL \"www.example.com\"");
  }
  // No window of the failed form is left behind.
  EXPECT_EQ(FindWindowA(nullptr, "Hot label test"), nullptr);
}

}  // namespace
}  // namespace rf::info
