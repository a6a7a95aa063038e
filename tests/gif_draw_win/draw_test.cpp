// Pictures drawn into a memory DC and read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/graphic.h"
#include "gif/base/geometry.h"
#include "gif/base/gifmessages.h"
#include "gif/model/gifsimple.h"
#include "gif/win/gifgraphic_win.h"
#include "tests/support/dib_surface.h"

namespace rf::gif {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr COLORREF kPaper = RGB(1, 2, 3);  // what the destination held before

using Surface = rf::test::DibSurface;

const std::vector<TGIFColor> kColors = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                        {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};

COLORREF Ref(int index) {
  return RGB(kColors[index].red, kColors[index].green, kColors[index].blue);
}

std::unique_ptr<TGIFGraphic> Picture(int w, int h, Bytes pixels, int transparent = -1,
                                     int screen_w = 0, int screen_h = 0, int left = 0,
                                     int top = 0) {
  SimplePicture pic;
  pic.width = screen_w ? screen_w : w;
  pic.height = screen_h ? screen_h : h;
  pic.colors = kColors;
  SimpleFrame f;
  f.left = left;
  f.top = top;
  f.width = w;
  f.height = h;
  f.pixels = std::move(pixels);
  if (transparent >= 0) f.control = SimpleControl{0, 0, false, transparent};
  pic.frames.push_back(std::move(f));
  auto g = std::make_unique<TGIFGraphic>();
  g->LoadFromBytes(SaveSimplePicture(pic));
  return g;
}

std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06lx", static_cast<unsigned long>(c));
  return buf;
}

// Every pixel of the surface against what a function says it should hold.
template <typename F>
void ExpectPixels(const Surface& s, int w, int h, F want, const std::string& what) {
  int bad = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (s.At(x, y) != want(x, y) && ++bad <= 5) {
        ADD_FAILURE() << what << ": (" << x << "," << y << ") is " << Hex(s.At(x, y)) << ", want "
                      << Hex(want(x, y));
      }
    }
  }
}

// 4 × 2 pixels, all different.
const Bytes kFour = {0, 1, 2, 3, 4, 5, 0, 1};

TEST(GifDraw, StretchedIntoAnyRectangle) {
  auto g = Picture(4, 2, kFour);
  Surface s(24, 12);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 8, 4});    // twice the size
  g->Draw(canvas, RECT{10, 5, 14, 7});  // own size, elsewhere
  ExpectPixels(
      s, 24, 12,
      [](int x, int y) {
        if (x < 8 && y < 4) return Ref(kFour[(y / 2) * 4 + x / 2]);
        if (x >= 10 && x < 14 && y >= 5 && y < 7) return Ref(kFour[(y - 5) * 4 + (x - 10)]);
        return kPaper;
      },
      "stretched");
}

TEST(GifDraw, TiledFromTheTopLeftAndCutAtTheRectangle) {
  auto g = Picture(4, 2, kFour);
  g->PaintOptions |= poTile;
  Surface s(12, 8);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{1, 1, 11, 6});
  ExpectPixels(
      s, 12, 8,
      [](int x, int y) {
        if (x < 1 || x >= 11 || y < 1 || y >= 6) return kPaper;
        return Ref(kFour[((y - 1) % 2) * 4 + (x - 1) % 4]);
      },
      "tiled");
}

TEST(GifDraw, TransparentPixelsLeaveTheDestination) {
  // Index 5 is transparent.
  const Bytes px = {0, 5, 2, 5, 5, 1, 5, 3};
  for (int scale : {1, 3}) {  // equal sizes (masked blit) and stretched (AND/OR)
    for (bool transparent : {true, false}) {
      auto g = Picture(4, 2, px, 5);
      if (!transparent) g->PaintOptions &= static_cast<std::uint16_t>(~poTransparent);
      Surface s(16, 8);
      fw::Canvas canvas(s.dc());
      int changed = 0;
      canvas.SetOnChange([&] { ++changed; });
      g->Draw(canvas, RECT{2, 1, 2 + 4 * scale, 1 + 2 * scale});
      const std::string what =
          "scale " + std::to_string(scale) + (transparent ? " masked" : " plain");
      ExpectPixels(
          s, 16, 8,
          [&](int x, int y) {
            if (x < 2 || x >= 2 + 4 * scale || y < 1 || y >= 1 + 2 * scale) return kPaper;
            const int p = px[((y - 1) / scale) * 4 + (x - 2) / scale];
            return p == 5 && transparent ? kPaper : Ref(p);
          },
          what);
      EXPECT_EQ(changed, transparent ? 1 : 0) << what;
    }
  }
}

TEST(GifDraw, TransparentFrameWithoutTransparentPixelsHasNoMask) {
  auto g = Picture(4, 2, kFour, 5);  // index 5 at (1, 1)
  auto none = Picture(2, 1, {0, 1}, 5);
  TGIFSubImage& frame = none->Image().Images()[0];
  EXPECT_NE(none->Drawer().FrameBitmap(frame), nullptr);
  EXPECT_EQ(none->Drawer().FrameMask(frame), nullptr);
  EXPECT_NE(g->Drawer().FrameMask(g->Image().Images()[0]), nullptr);
  Surface s(2, 1);
  fw::Canvas canvas(s.dc());
  none->Draw(canvas, RECT{0, 0, 2, 1});
  EXPECT_EQ(s.At(0, 0), Ref(0));
  EXPECT_EQ(s.At(1, 0), Ref(1));
}

// A 10 × 10 frame at (10, 10) on a 20 × 20 screen, drawn into (0, 0, 40,
// 40), lands in (20, 20, 40, 40).
TEST(GifDraw, FramePlacedInProportionToTheScreen) {
  auto g = Picture(10, 10, Bytes(100, 2), -1, 20, 20, 10, 10);
  Surface s(44, 44);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 40, 40});
  ExpectPixels(
      s, 44, 44,
      [](int x, int y) { return x >= 20 && x < 40 && y >= 20 && y < 40 ? Ref(2) : kPaper; },
      "placed");
  // Two frames with poAnimate off: only the first is drawn.
  SimplePicture pic;
  pic.width = pic.height = 20;
  pic.colors = kColors;
  pic.frames.push_back({10, 10, 10, 10, Bytes(100, 2), {}, false, {}, {}});
  pic.frames.push_back({0, 0, 20, 20, Bytes(400, 3), {}, false, {}, {}});
  TGIFGraphic two;
  two.LoadFromBytes(SaveSimplePicture(pic));
  two.PaintOptions &= static_cast<std::uint16_t>(~poAnimate);
  s.Fill(kPaper);
  two.Draw(canvas, RECT{0, 0, 40, 40});
  ExpectPixels(
      s, 44, 44,
      [](int x, int y) { return x >= 20 && x < 40 && y >= 20 && y < 40 ? Ref(2) : kPaper; },
      "first frame only");
}

TEST(GifDraw, BitmapMadeOnceForTwoDraws) {
  auto g = Picture(4, 2, kFour);
  int renders = 0;
  g->Image().OnProgress = [&](TGIFImage&, TProgressStage stage, int, bool, const TGIFRect&,
                              const std::string& message) {
    if (message == msg::kRendering && stage == psStarting) ++renders;
  };
  Surface s(16, 8);
  fw::Canvas canvas(s.dc());
  g->Draw(canvas, RECT{0, 0, 8, 4});
  HBITMAP first = g->Drawer().FrameBitmap(g->Image().Images()[0]);
  g->Draw(canvas, RECT{0, 0, 16, 8});
  EXPECT_EQ(renders, 1);
  EXPECT_EQ(g->Drawer().FrameBitmap(g->Image().Images()[0]), first);
  EXPECT_EQ(s.At(15, 7), Ref(1));
  // A changed colour map drops the bitmap; the next draw makes it anew.
  g->Image().GlobalColorMap()[1] = {9, 9, 9};
  g->Image().GlobalColorMap().Changed();
  g->Draw(canvas, RECT{0, 0, 16, 8});
  EXPECT_EQ(renders, 2);
  EXPECT_EQ(s.At(15, 7), RGB(9, 9, 9));
}

// Still and animated frames are placed by the codec's own MulDivRound; it
// must answer what the system's MulDiv answered when still frames used it.
TEST(GifDraw, PlacementRoundsAsTheSystemsMulDiv) {
  const int values[] = {0, 1, 2, 3, 5, 7, 100, 32767, 65535, 2000000, -1, -3, -7, -65535};
  const int divisors[] = {1, 2, 3, 4, 7, 100, 65535, -1, -2, -3};
  for (int a : values) {
    for (int b : values) {
      for (int c : divisors) {
        EXPECT_EQ(MulDivRound(a, b, c), MulDiv(a, b, c)) << a << " " << b << " " << c;
      }
    }
  }
}

TEST(GifDraw, NoColourTableIsReportedWhenDrawn) {
  SimplePicture pic;
  pic.width = pic.height = 2;
  pic.frames.push_back({0, 0, 2, 2, Bytes(4, 0), {}, false, {}, {}});
  TGIFGraphic g;
  g.LoadFromBytes(SaveSimplePicture(pic));
  Surface s(2, 2);
  fw::Canvas canvas(s.dc());
  try {
    g.Draw(canvas, RECT{0, 0, 2, 2});
    ADD_FAILURE() << "no error";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), msg::kNoColorTable);
  }
  // The drawing flag is cleared again: a second draw fails the same way
  // instead of doing nothing.
  EXPECT_THROW(g.Draw(canvas, RECT{0, 0, 2, 2}), GIFException);
}

TEST(GifFormat, RegistrationAndClipboard) {
  RegisterGIFFormat();
  EXPECT_NE(GIFClipboardFormat(), 0u);
  EXPECT_EQ(fw::GraphicClassForExtension("gif"), "TGIFImage");
  EXPECT_NE(fw::CreateGraphic("TGIFImage"), nullptr);

  SimplePicture pic;
  pic.width = 3;
  pic.height = 1;
  pic.colors = kColors;
  pic.frames.push_back({0, 0, 3, 1, {0, 1, 2}, {}, false, {}, {}});
  const Bytes gif = SaveSimplePicture(pic);
  // A stored picture property: class name, then the stream.
  Bytes property = {9};
  for (char c : std::string("TGIFImage")) property.push_back(static_cast<std::uint8_t>(c));
  property.insert(property.end(), gif.begin(), gif.end());
  auto stored = fw::LoadPictureProperty(property);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->Width(), 3);

  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, gif.size());
  std::memcpy(GlobalLock(data), gif.data(), gif.size());
  GlobalUnlock(data);
  TGIFGraphic g;
  g.LoadFromClipboardFormat(GIFClipboardFormat(), data);
  EXPECT_EQ(g.Width(), 3);
  try {
    g.LoadFromClipboardFormat(CF_TEXT, data);
    ADD_FAILURE() << "text taken";
  } catch (const GIFException& e) {
    EXPECT_STREQ(e.what(), msg::kUnsupportedClipboardFormat);
  }
  GlobalFree(data);
  UnregisterGIFFormat();
}

}  // namespace
}  // namespace rf::gif
