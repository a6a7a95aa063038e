// The picker and the info dialog laid out at the display's scale. The
// program runs in the main prefix (96 DPI) and again in prefixes of other
// DPIs (RF_DPI, see cmake/wine-run.sh); every check follows the scale rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "framework/scale.h"
#include "picker/Hover.h"
#include "plugin_fixture.h"
#include "popup_helpers.h"
#include "resources/layouts.h"
#include "tests/support/stored_picture.h"

#include <commctrl.h>

namespace rf::test {
namespace {

using host::Control;
using host::GetText;

// WM_DPICHANGED, which older headers lack.
constexpr UINT kDpiChanged = 0x02E0;

int RunDpi() {
  const char* dpi = std::getenv("RF_DPI");
  return dpi && *dpi ? std::atoi(dpi) : 96;
}

int FontPixels(HWND window) {
  LOGFONTA lf = {};
  auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  if (!font || !GetObjectA(font, sizeof lf, &lf)) return 0;
  return -lf.lfHeight;
}

struct Placed {
  std::string name;
  RECT want, got;
  bool free_width, free_height;
};

// Every control of a layout that has a rectangle of its own, where it is.
std::vector<Placed> ReadPlaces(HWND root, std::span<const fw::ControlSpec> layout,
                               const fw::Scale& s) {
  std::vector<Placed> out;
  for (const fw::ControlSpec& c : layout) {
    if (c.kind == fw::ControlKind::TabPage || c.align_client) continue;
    const fw::Bounds b = s.Apply(c.bounds);
    out.push_back({c.name,
                   {b.left, b.top, b.left + b.width, b.top + b.height},
                   host::RectInParent(Control(root, c.name)),
                   // Sized to their text, or (an icon's static) to the icon.
                   c.auto_size || c.kind == fw::ControlKind::Icon,
                   c.auto_size || c.auto_height || c.kind == fw::ControlKind::Icon});
  }
  return out;
}

void ExpectPlaces(const std::vector<Placed>& places) {
  for (const Placed& p : places) {
    SCOPED_TRACE(p.name);
    EXPECT_EQ(p.got.left, p.want.left);
    EXPECT_EQ(p.got.top, p.want.top);
    if (!p.free_width) {
      EXPECT_EQ(p.got.right, p.want.right);
    }
    if (!p.free_height) {
      EXPECT_EQ(p.got.bottom, p.want.bottom);
    }
  }
}

// The pixel size of the icon an icon static shows.
SIZE IconPixels(HWND icon_static) {
  auto icon = reinterpret_cast<HICON>(SendMessageA(icon_static, STM_GETICON, 0, 0));
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAP bm = {};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return {bm.bmWidth, bm.bmHeight};
}

// Device pixels of a shot that differ from a stored picture, within both.
int PixelsUnlike(const host::Screenshot& shot, const Picture& want) {
  int wrong = 0;
  for (int y = 0; y < want.height && y < shot.height; ++y)
    for (int x = 0; x < want.width && x < shot.width; ++x)
      wrong += shot.Pixel(x, y) != want.At(x, y);
  return wrong;
}

class ScaledPicker : public DeliveredPluginTest {
 protected:
  const fw::Scale scale_{fw::ScalePercentForDpi(RunDpi())};
};

TEST_F(ScaledPicker, BothDialogsLieWhereTheRuleSays) {
  RECT client = {}, info_client = {};
  std::vector<Placed> picker, info;
  int dialog_font = 0, tab_font = 0, label_font = 0;
  bool saved = false;
  SIZE icon = {};
  host::Screenshot donation;
  copy_->Run([&](HWND d) {
    // The pointer off the dialog, so no preview lies over the screenshot.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    SetWindowPos(d, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    GetClientRect(d, &client);
    picker = ReadPlaces(d, resources::CharSetLayout(), scale_);
    dialog_font = FontPixels(Control(d, "EdRueck"));
    tab_font = FontPixels(Control(d, "PCChar"));
    label_font = FontPixels(Control(d, "Lbl8859_1"));
    const auto shot = host::CaptureWindow(d, /*client_only=*/true);
    saved = host::SavePng(shot, ArtifactPath("picker_dpi" + std::to_string(RunDpi()) + ".png"));
    host::PressButton(Control(d, "BtnInfo"));
    HWND i = host::WaitForWindow("Info", 5000);
    if (i) {
      GetClientRect(i, &info_client);
      info = ReadPlaces(i, resources::InfoLayout(), scale_);
      icon = IconPixels(Control(i, "Image1"));
      donation = host::CaptureWindow(Control(i, "Image2"), true);
      host::SavePng(host::CaptureWindow(i, true),
                    ArtifactPath("info_dpi" + std::to_string(RunDpi()) + ".png"));
      host::PressButton(Control(i, "BtEnde"));
      host::WaitForWindowGone(i, 5000);
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  // The prefix gives the display the run's DPI.
  EXPECT_EQ(ScreenDpi(), RunDpi());
  const fw::FormSpec& form = resources::CharSetForm();
  const fw::Bounds want = scale_.Apply({0, 0, form.client_width, form.client_height});
  EXPECT_EQ(client.right, want.width);
  EXPECT_EQ(client.bottom, want.height);
  const fw::FormSpec& info_form = resources::InfoForm();
  const fw::Bounds info_want =
      scale_.Apply({0, 0, info_form.client_width, info_form.client_height});
  EXPECT_EQ(info_client.right, info_want.width);
  EXPECT_EQ(info_client.bottom, info_want.height);
  ExpectPlaces(picker);
  ExpectPlaces(info);
  EXPECT_EQ(dialog_font, scale_.FontHeight(11));
  EXPECT_EQ(tab_font, scale_.FontHeight(8));
  EXPECT_EQ(label_font, scale_.FontHeight(8));
  EXPECT_TRUE(saved);
  // The icon and the donation button drawn for the scale, not stretched.
  EXPECT_EQ(icon.cx, scale_.Edge(32));
  EXPECT_EQ(icon.cy, scale_.Edge(32));
  const Picture button =
      StoredPictureFile(scale_.IsIdentity() ? "resources/pictures/Image2.pic"
                                            : "resources/pictures/Image2_" +
                                                  std::to_string(scale_.Percent()) + ".pic");
  EXPECT_EQ(donation.width, button.width);
  EXPECT_EQ(donation.height, button.height);
  EXPECT_EQ(PixelsUnlike(donation, button), 0);
}

// A per-monitor aware dialog moved to a monitor of another DPI: laid out
// again by the rule in the window rectangle the system suggests, and back.
TEST_F(ScaledPicker, DpiChangeLaysTheDialogOutAgain) {
  const fw::Scale other(scale_.IsIdentity() ? 200 : 100);
  const fw::FormSpec& form = resources::CharSetForm();
  RECT client_there = {}, client_back = {};
  std::vector<Placed> there, back;
  int font_there = 0, font_back = 0;
  // The tab rows come back as they were, widths and height.
  std::vector<RECT> tabs_before, tabs_back;
  auto tab_rects = [](HWND tabs) {
    std::vector<RECT> out;
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT r = {};
      SendMessageA(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
      out.push_back(r);
    }
    return out;
  };
  copy_->Run([&](HWND d) {
    tabs_before = tab_rects(Control(d, "PCChar"));
    auto move_to = [&](const fw::Scale& s) {
      RECT window = {}, client = {};
      GetWindowRect(d, &window);
      GetClientRect(d, &client);
      const fw::Bounds want = s.Apply({0, 0, form.client_width, form.client_height});
      RECT suggested = window;
      suggested.right += want.width - client.right;
      suggested.bottom += want.height - client.bottom;
      SendMessageA(d, kDpiChanged, MAKEWPARAM(s.Dpi(), s.Dpi()),
                   reinterpret_cast<LPARAM>(&suggested));
      host::Sync(d);
    };
    move_to(other);
    GetClientRect(d, &client_there);
    there = ReadPlaces(d, resources::CharSetLayout(), other);
    font_there = FontPixels(Control(d, "EdRueck"));
    move_to(scale_);
    GetClientRect(d, &client_back);
    back = ReadPlaces(d, resources::CharSetLayout(), scale_);
    font_back = FontPixels(Control(d, "EdRueck"));
    tabs_back = tab_rects(Control(d, "PCChar"));
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  const fw::Bounds want = other.Apply({0, 0, form.client_width, form.client_height});
  EXPECT_EQ(client_there.right, want.width);
  EXPECT_EQ(client_there.bottom, want.height);
  EXPECT_EQ(font_there, other.FontHeight(11));
  ExpectPlaces(there);
  const fw::Bounds home = scale_.Apply({0, 0, form.client_width, form.client_height});
  EXPECT_EQ(client_back.right, home.width);
  EXPECT_EQ(client_back.bottom, home.height);
  EXPECT_EQ(font_back, scale_.FontHeight(11));
  ExpectPlaces(back);
  ASSERT_EQ(tabs_back.size(), tabs_before.size());
  for (std::size_t i = 0; i < tabs_back.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(EqualRect(&tabs_back[i], &tabs_before[i]));
  }
}

// Device positions, as the pointer gives them, over a sample of pictures:
// the centre of every cell shows that cell, a grid line's device pixels
// belong to the cell right of it, the frame and the strip below clear.
TEST_F(ScaledPicker, HoverInDevicePixelsFollowsTheCells) {
  struct Sample {
    chardata::TCharTableKind kind;
    int outer, inner;
  };
  const Sample samples[] = {{chardata::TCharTableKind::ctANSI, 0, -1},
                            {chardata::TCharTableKind::ctISO8859_1, 1, 0},
                            {chardata::TCharTableKind::ctTechnik, 4, -1}};
  const fw::Scale& s = scale_;
  std::vector<std::string> wrong;
  copy_->Run([&](HWND d) {
    HWND number = Control(d, "EdZeichenNr");
    for (const Sample& sample : samples) {
      const picker::PictureParams& p = picker::PictureOf(sample.kind);
      host::SelectTab(Control(d, "PCChar"), sample.outer);
      if (sample.inner >= 0) host::SelectTab(Control(d, "PCiso"), sample.inner);
      HWND pic = Control(d, std::string(p.picture));
      // A move of the real pointer (Wine sends one when windows change
      // under it) may come between the move and the reading: a cell is
      // wrong only when it is wrong every time.
      auto shown = [&](int x, int y, const std::string& want) {
        std::string got;
        for (int tries = 0; tries < 3 && got != want; ++tries) {
          host::MouseMove(pic, x, y);
          got = GetText(number);
        }
        return got;
      };
      auto expect = [&](int x, int y, const std::string& want) {
        const std::string got = shown(x, y, want);
        if (got != want)
          wrong.push_back(std::string(p.picture) + " at " + std::to_string(x) + "," +
                          std::to_string(y) + ": " + got + " not " + want);
      };
      const int columns = (p.width - 1) / picker::kCellWidth;
      for (int i = 0; i < columns * p.rows; ++i) {
        const int x0 = picker::kCellWidth * (i / p.rows), y0 = p.cell_height * (i % p.rows);
        const int cx = (s.Edge(x0) + s.Edge(x0 + picker::kCellWidth)) / 2;
        const int cy = (s.Edge(y0) + s.Edge(y0 + p.cell_height)) / 2;
        expect(cx, cy, std::to_string(i));
      }
      const int mid = s.Edge(p.cell_height / 2);
      expect(s.Edge(2) - 1, mid, "");
      expect(s.Edge(2), s.Edge(2), "0");
      expect(s.Edge(picker::kCellWidth), mid, std::to_string(p.rows));
      expect(s.Edge(picker::kCellWidth + 1) - 1, mid, std::to_string(p.rows));
      expect(s.Edge(picker::kCellWidth) - 1, mid, "0");
      expect(mid, s.Edge(p.cell_height), "1");
      expect(s.Edge(p.width - 1), mid, "");
      expect(mid, s.Edge(p.height - 1), "");
      expect(mid, s.Edge(p.height + 1), "");
      expect(-1, mid, "");
    }
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_EQ(wrong, std::vector<std::string>{});
}

// The preview after a rest at the device centre of a cell: laid out at the
// scale, clear of the cell's device rectangle, and its glyph the cell of the
// picture on show enlarged three times, pixel for pixel (not the 100 %
// picture stretched).
TEST_F(ScaledPicker, PreviewShowsTheCellAtTheScale) {
  struct Sample {
    chardata::TCharTableKind kind;
    int outer, inner, index;
  };
  const Sample samples[] = {{chardata::TCharTableKind::ctANSI, 0, -1, 0},
                            {chardata::TCharTableKind::ctISO8859_1, 1, 0, 14}};
  const fw::Scale& s = scale_;
  std::ostringstream wrong;
  copy_->Run([&](HWND d) {
    SetWindowPos(d, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const Sample& sample : samples) {
      const picker::PictureParams& p = picker::PictureOf(sample.kind);
      host::SelectTab(Control(d, "PCChar"), sample.outer);
      if (sample.inner >= 0) host::SelectTab(Control(d, "PCiso"), sample.inner);
      HWND pic = Control(d, std::string(p.picture));
      const picker::CellBox b = picker::CellBounds(p, sample.index);
      RECT cell = {s.Edge(b.left), s.Edge(b.top), s.Edge(b.right + 1), s.Edge(b.bottom + 1)};
      const int cx = (cell.left + cell.right) / 2, cy = (cell.top + cell.bottom) / 2;
      bool shown = false;
      for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        PointAt(pic, cx + attempt, cy);
        shown = WaitUntil([] { return Showing(kPreviewName); });
      }
      if (!shown) {
        wrong << p.picture << ": no preview\n";
        continue;
      }
      HWND preview = TopLevelWindowNamed(kPreviewName);
      RECT popup;
      GetWindowRect(preview, &popup);
      MapWindowPoints(pic, HWND_DESKTOP, reinterpret_cast<POINT*>(&cell), 2);
      RECT both;
      if (IntersectRect(&both, &popup, &cell)) wrong << p.picture << ": covers its cell\n";
      if (popup.right - popup.left != s.Edge(220) + 2)
        wrong << p.picture << ": " << popup.right - popup.left << " wide\n";
      host::Sync(preview);
      const host::Screenshot shot = host::CaptureWindow(preview, true);
      std::ostringstream file;
      file << "resources/tables/" << p.picture;
      if (!s.IsIdentity()) file << "_" << s.Percent();
      file << ".pic";
      const Picture stored = StoredPictureFile(file.str());
      const int left = s.Edge(b.left + 1), top = s.Edge(b.top + 1);
      const int w = s.Edge(b.right) - left, h = s.Edge(b.bottom) - top, pad = s.Edge(6);
      int unlike = 0;
      for (int y = 0; y < 3 * h; ++y)
        for (int x = 0; x < 3 * w; ++x)
          unlike += shot.Pixel(pad + x, pad + y) != stored.At(left + x / 3, top + y / 3);
      if (unlike) wrong << p.picture << ": " << unlike << " glyph pixels unlike the picture\n";
      ParkPointer();
      SendMessageA(pic, WM_MOUSELEAVE, 0, 0);
      WaitUntil([] { return !Showing(kPreviewName); });
    }
    ParkPointer();
    host::PressButton(Control(d, "BtnAbbruch"));
  });
  EXPECT_EQ(wrong.str(), "");
}

}  // namespace
}  // namespace rf::test
