#include "tools/infoart/info_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "gif/model/gifsimple.h"
#include "resources/layouts.h"
#include "resources/picture_property.h"
#include "tools/tablepics/font_chain.h"

namespace rf::infoart {
namespace {

constexpr std::uint8_t kClear = 255;

// ---- little-endian file pieces ----

void Put16(std::vector<std::uint8_t>& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

// An .ico or .cur file: the directory, then each image as a
// device-independent bitmap of twice the height (colour bits, then the
// mask, both bottom-up). For a cursor an entry holds the hot spot where an
// icon holds planes and bit count.
std::vector<std::uint8_t> IconResourceFile(const std::vector<IndexedImage>& images, int bits,
                                           const std::vector<Rgb>& palette, bool cursor, int hot_x,
                                           int hot_y) {
  auto strides = [bits](const IndexedImage& image) {
    return std::pair{((image.width * bits + 31) / 32) * 4, ((image.width + 31) / 32) * 4};
  };
  auto size_of = [&](const IndexedImage& image) {
    const auto [xor_stride, and_stride] = strides(image);
    return static_cast<std::uint32_t>(
        40 + palette.size() * 4 +
        static_cast<std::size_t>((xor_stride + and_stride) * image.height));
  };
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, static_cast<int>(images.size()));
  auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (const IndexedImage& image : images) {
    out.push_back(static_cast<std::uint8_t>(image.width));
    out.push_back(static_cast<std::uint8_t>(image.height));
    out.push_back(cursor ? 0 : static_cast<std::uint8_t>(palette.size()));
    out.push_back(0);
    Put16(out, cursor ? hot_x : 1);
    Put16(out, cursor ? hot_y : bits);
    Put32(out, size_of(image));
    Put32(out, offset);
    offset += size_of(image);
  }
  for (const IndexedImage& image : images) {
    const int w = image.width, h = image.height;
    const auto [xor_stride, and_stride] = strides(image);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(2 * h));
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);  // uncompressed
    Put32(out, static_cast<std::uint32_t>((xor_stride + and_stride) * h));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (const Rgb& c : palette) {
      out.push_back(c.blue);
      out.push_back(c.green);
      out.push_back(c.red);
      out.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(static_cast<std::size_t>(xor_stride), 0);
      for (int x = 0; x < w; ++x) {
        const std::uint8_t v = image.At(x, y) == kClear ? 0 : image.At(x, y);
        const int bit = x * bits;
        row[static_cast<std::size_t>(bit / 8)] |=
            static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
      }
      out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = h - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(static_cast<std::size_t>(and_stride), 0);
      for (int x = 0; x < w; ++x)
        if (image.At(x, y) == kClear)
          row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      out.insert(out.end(), row.begin(), row.end());
    }
  }
  return out;
}

IndexedImage Blank(int w, int h, std::uint8_t fill) {
  IndexedImage img;
  img.width = w;
  img.height = h;
  img.pixels.assign(static_cast<std::size_t>(w * h), fill);
  return img;
}

// 5 × 7 capitals, '#' set.
using Glyph = std::array<std::string_view, 7>;
constexpr Glyph kS = {".####", "#....", "#....", ".###.", "....#", "....#", "####."};
constexpr Glyph kP = {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."};
constexpr Glyph kE = {"#####", "#....", "#....", "####.", "#....", "#....", "#####"};
constexpr Glyph kN = {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"};
constexpr Glyph kD = {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."};
constexpr Glyph kA = {"..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"};

// Draws a glyph; bold doubles every stroke one pixel to the right.
void DrawGlyph(IndexedImage& img, const Glyph& g, int left, int top, std::uint8_t color,
               bool bold) {
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 5; ++x)
      if (g[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#')
        for (int dx = 0; dx <= (bold ? 1 : 0); ++dx) {
          const int px = left + x + dx, py = top + y;
          if (px >= 0 && px < img.width && py >= 0 && py < img.height) img.At(px, py) = color;
        }
}

// A drawing at a scale, placed at a 96-DPI offset in its parent: its pixels
// lie over the device pixels the scale's edge rule gives the parent's,
// counted from the drawing's corner, as the dialog places its controls.
struct Placement {
  fw::Scale scale;
  int left = 0, top = 0;
  int X(int x) const { return scale.Edge(left + x) - scale.Edge(left); }
  int Y(int y) const { return scale.Edge(top + y) - scale.Edge(top); }
  int LayoutX(int device) const { return scale.ToLayout(device + scale.Edge(left)) - left; }
  int LayoutY(int device) const { return scale.ToLayout(device + scale.Edge(top)) - top; }
};

// Each pixel over the device pixels the placement gives it, so lines stay
// one colour, never blurred.
IndexedImage Enlarge(const IndexedImage& img, const Placement& at) {
  IndexedImage big = Blank(at.X(img.width), at.Y(img.height), 0);
  for (int y = 0; y < big.height; ++y)
    for (int x = 0; x < big.width; ++x) big.At(x, y) = img.At(at.LayoutX(x), at.LayoutY(y));
  return big;
}

// Text from the art font, as large as fits the box (right and bottom
// exclusive), centred in it; a pixel is set where the glyph covers at least
// half of it, so the letters stay crisp in the pictures' few colours.
void DrawFontText(IndexedImage& img, std::u32string_view text, int left, int top, int right,
                  int bottom, int shift, std::uint8_t color) {
  const tablepics::FontChain font(std::span<const char* const>(&kArtFont, 1));
  for (int size = 2 * (bottom - top); size >= 4; --size) {
    std::vector<tablepics::GreyGlyph> glyphs;
    std::vector<int> pens;
    int pen = 0;
    int ink_left = 1 << 20, ink_right = -(1 << 20), ink_top = 1 << 20, ink_bottom = -(1 << 20);
    for (char32_t c : text) {
      glyphs.push_back(font.Render(c, size));
      const tablepics::GreyGlyph& g = glyphs.back();
      pens.push_back(pen);
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
          if (g.At(x, y) >= 128) {
            ink_left = std::min(ink_left, pen + g.left + x);
            ink_right = std::max(ink_right, pen + g.left + x);
            ink_top = std::min(ink_top, y - g.top);
            ink_bottom = std::max(ink_bottom, y - g.top);
          }
      pen += g.advance;
    }
    if (ink_right < ink_left) return;
    const int wide = ink_right - ink_left + 1, high = ink_bottom - ink_top + 1;
    if (wide > right - left || high > bottom - top) continue;
    const int dx = left + (right - left - wide) / 2 - ink_left + shift;
    const int dy = top + (bottom - top - high) / 2 - ink_top + shift;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
      const tablepics::GreyGlyph& g = glyphs[i];
      for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
          const int px = dx + pens[i] + g.left + x, py = dy + y - g.top;
          if (g.At(x, y) >= 128 && px >= 0 && px < img.width && py >= 0 && py < img.height)
            img.At(px, py) = color;
        }
    }
    return;
  }
  throw std::runtime_error("text does not fit its box");
}

// ---- the icon: a character table with one cell picked ----

enum Vga : std::uint8_t {
  kBlack = 0,
  kMaroon = 1,
  kNavy = 4,
  kSilver = 7,
  kGray = 8,
  kYellow = 11,
  kWhite = 15
};

std::vector<Rgb> VgaPalette() {
  return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// ---- the hand cursor ----

// 'B' black outline, 'W' white inside; the fingertip's top is (6, 0).
constexpr std::array<std::string_view, 21> kHand = {
    "......BB",          ".....BWWB",         ".....BWWB",         ".....BWWB",
    ".....BWWB",         ".....BWWBBB",       ".....BWWBWWBBB",    ".....BWWBWWBWWBB",
    ".....BWWBWWBWWBWB", ".BBB.BWWBWWBWWBWB", ".BWWBBWWWWWWWWWWB", ".BWWWBWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWB", "..BWWWWWWWWWWWWWB", "...BWWWWWWWWWWWWB", "...BWWWWWWWWWWWB",
    "....BWWWWWWWWWWB",  "....BWWWWWWWWWB",   ".....BWWWWWWWWB",   ".....BWWWWWWWWB",
    ".....BBBBBBBBBB"};

// ---- the donation button ----

constexpr int kGradientFirst = 0, kGradientCount = 31;
constexpr int kHeartFirst = 32, kHeartCount = 16;
constexpr std::uint8_t kBorder = 48, kText = 49, kTextShadow = 50, kHeartEdge = 51;

std::uint8_t Mix(int a, int b, double t) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

bool InHeart(double u, double v) {
  const double a = u * u + v * v - 1.0;
  return a * a * a - u * u * v * v * v <= 0.0;
}

}  // namespace

namespace {

// The icon without its letter.
IndexedImage IconSheet() {
  IndexedImage img = Blank(32, 32, kClear);
  // Shadow, then the sheet with its border.
  for (int i = 4; i <= 30; ++i) {
    img.At(30, i) = kGray;
    img.At(i, 30) = kGray;
  }
  for (int y = 2; y <= 29; ++y)
    for (int x = 2; x <= 29; ++x) {
      const bool border = x == 2 || x == 29 || y == 2 || y == 29;
      const bool grid = x == 11 || x == 20 || y == 11 || y == 20;
      img.At(x, y) = border ? kBlack : grid ? kSilver : kWhite;
    }
  // Small marks in the other cells stand for their characters.
  for (int cy = 0; cy < 3; ++cy)
    for (int cx = 0; cx < 3; ++cx) {
      if (cx == 1 && cy == 1) continue;
      const int left = 3 + cx * 9 + 2, top = 3 + cy * 9 + 2;
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
          if ((x + y + cx + cy) % 3 != 0 && (x != y || cx == cy)) img.At(left + x, top + y) = kGray;
    }
  // The picked cell: yellow with a navy "Ä".
  for (int y = 12; y <= 19; ++y)
    for (int x = 12; x <= 19; ++x) img.At(x, y) = kYellow;
  for (int x = 11; x <= 20; ++x) {
    img.At(x, 11) = kMaroon;
    img.At(x, 20) = kMaroon;
    img.At(11, x) = kMaroon;
    img.At(20, x) = kMaroon;
  }
  return img;
}

}  // namespace

IndexedImage IconImage() {
  IndexedImage img = IconSheet();
  img.At(13, 12) = kNavy;
  img.At(17, 12) = kNavy;
  DrawGlyph(img, kA, 13, 13, kNavy, false);
  return img;
}

IndexedImage IconImageAt(const fw::Scale& scale) {
  if (scale.IsIdentity()) return IconImage();
  IndexedImage img = Enlarge(IconSheet(), Placement{scale});
  DrawFontText(img, U"\u00C4", scale.Edge(12) + 1, scale.Edge(12) + 1, scale.Edge(20) - 1,
               scale.Edge(20) - 1, 0, kNavy);
  return img;
}

std::vector<std::uint8_t> IconFile() {
  std::vector<IndexedImage> sizes;
  for (const int step : fw::kScaleSteps) sizes.push_back(IconImageAt(fw::Scale(step)));
  return IconResourceFile(sizes, 4, VgaPalette(), false, 0, 0);
}

IndexedImage HandImage() {
  IndexedImage img = Blank(32, 32, kClear);
  for (std::size_t y = 0; y < kHand.size(); ++y)
    for (std::size_t x = 0; x < kHand[y].size(); ++x) {
      const char c = kHand[y][x];
      if (c != '.') img.At(static_cast<int>(x), static_cast<int>(y)) = c == 'B' ? 0 : 1;
    }
  return img;
}

std::vector<std::uint8_t> HandCursorFile() {
  return IconResourceFile({HandImage()}, 1, {{0, 0, 0}, {255, 255, 255}}, true, 6, 0);
}

std::vector<Rgb> DonationPalette() {
  std::vector<Rgb> p(64);
  // Background: light gold at the top to deep gold at the bottom.
  for (int i = 0; i < kGradientCount; ++i) {
    const double t = static_cast<double>(i) / (kGradientCount - 1);
    p[static_cast<std::size_t>(kGradientFirst + i)] = {Mix(255, 244, t), Mix(240, 170, t),
                                                       Mix(170, 30, t)};
  }
  p[31] = {255, 255, 255};
  // The heart, from its lit side to its shaded side.
  for (int i = 0; i < kHeartCount; ++i) {
    const double t = static_cast<double>(i) / (kHeartCount - 1);
    p[static_cast<std::size_t>(kHeartFirst + i)] = {Mix(255, 150, t), Mix(130, 0, t),
                                                    Mix(140, 20, t)};
  }
  p[kBorder] = {140, 90, 0};
  p[kText] = {0, 0, 128};
  p[kTextShadow] = {255, 250, 225};
  p[kHeartEdge] = {110, 0, 10};
  // The rest: a grey ramp, so the table has its full 64 entries.
  for (int i = 52; i < 64; ++i) {
    const auto g = static_cast<std::uint8_t>((i - 52) * 21);
    p[static_cast<std::size_t>(i)] = {g, g, g};
  }
  return p;
}

namespace {

constexpr int kDonationWidth = 80, kDonationHeight = 31;

// The button's ground: the gradient inside its border.
IndexedImage DonationGround() {
  const int w = kDonationWidth, h = kDonationHeight;
  IndexedImage img = Blank(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.At(x, y) =
          (x == 0 || y == 0 || x == w - 1 || y == h - 1)
              ? kBorder
              : static_cast<std::uint8_t>(kGradientFirst + y * (kGradientCount - 1) / (h - 1));
  return img;
}

// The heart, centred over the word, in the device pixels [x0, x1) × [y0,
// y1); its centre and size follow the placement's scale.
void DrawHeart(IndexedImage& img, const Placement& at, int x0, int x1, int y0, int y1) {
  const double zoom = at.scale.Percent() / 100.0;
  const double cx = (at.left + 40.0) * zoom - at.scale.Edge(at.left);
  const double cy = (at.top + 9.0) * zoom - at.scale.Edge(at.top);
  const double scale = 5.6 * zoom;
  auto inside = [&](int x, int y) {
    return InHeart((x + 0.5 - cx) / scale, -(y + 0.5 - cy) / scale);
  };
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (!inside(x, y)) continue;
      const bool edge =
          !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      if (edge) {
        img.At(x, y) = kHeartEdge;
        continue;
      }
      // Lit from the top left.
      const double u = (x + 0.5 - cx) / scale, v = -(y + 0.5 - cy) / scale;
      const double light = std::clamp(0.5 + 0.35 * u - 0.35 * v, 0.0, 1.0);
      img.At(x, y) =
          static_cast<std::uint8_t>(kHeartFirst + std::lround(light * (kHeartCount - 1)));
    }
}

// Where the button lies in its panel: its pixels follow the dialog's.
Placement DonationPlacement(const fw::Scale& scale) {
  for (const fw::ControlSpec& c : resources::InfoLayout())
    if (std::string_view(c.name) == "Image2") return {scale, c.bounds.left, c.bounds.top};
  throw std::logic_error("the info dialog has no donation picture");
}

// Where the word lies at 96 DPI (right and bottom exclusive).
constexpr int kWordLeft = 16, kWordTop = 20, kWordRight = 64, kWordBottom = 27;

}  // namespace

IndexedImage DonationImage() {
  IndexedImage img = DonationGround();
  DrawHeart(img, Placement{}, 25, 55, 1, 17);
  // SPENDEN, bold, with a light shadow.
  const Glyph* word[] = {&kS, &kP, &kE, &kN, &kD, &kE, &kN};
  constexpr int advance = 7;
  static_assert(kWordLeft == (kDonationWidth - (7 * advance - 1)) / 2);
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < 7; ++i)
      DrawGlyph(img, *word[i], kWordLeft + i * advance + (pass == 0 ? 1 : 0),
                kWordTop + (pass == 0 ? 1 : 0), pass == 0 ? kTextShadow : kText, true);
  return img;
}

IndexedImage DonationImageAt(const fw::Scale& scale) {
  if (scale.IsIdentity()) return DonationImage();
  const Placement at = DonationPlacement(scale);
  IndexedImage img = Enlarge(DonationGround(), at);
  DrawHeart(img, at, at.X(25), at.X(55), at.Y(1), at.Y(17));
  const int shadow = at.X(1);
  for (int pass = 0; pass < 2; ++pass)
    DrawFontText(img, U"SPENDEN", at.X(kWordLeft), at.Y(kWordTop), at.X(kWordRight),
                 at.Y(kWordBottom), pass == 0 ? shadow : 0, pass == 0 ? kTextShadow : kText);
  return img;
}

std::vector<std::uint8_t> DonationButtonGif(const fw::Scale& scale) {
  const IndexedImage img = DonationImageAt(scale);
  std::vector<gif::TGIFColor> colors;
  for (const Rgb& c : DonationPalette()) colors.push_back({c.red, c.green, c.blue});
  return gif::SaveSimplePicture(
      gif::StillPicture(img.width, img.height, std::move(colors), img.pixels));
}

std::vector<std::uint8_t> DonationPictureProperty(const fw::Scale& scale) {
  return resources::PictureProperty(DonationButtonGif(scale));
}

}  // namespace rf::infoart
