#include "tools/infoart/info_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "gif/model/gifsimple.h"
#include "resources/picture_property.h"

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

// An .ico or .cur file with one image: the directory, then the image as a
// device-independent bitmap of twice the height (colour bits, then the
// mask, both bottom-up). For a cursor the entry holds the hot spot where an
// icon holds planes and bit count.
std::vector<std::uint8_t> IconResourceFile(const IndexedImage& image, int bits,
                                           const std::vector<Rgb>& palette, bool cursor, int hot_x,
                                           int hot_y) {
  const int w = image.width, h = image.height;
  const int xor_stride = ((w * bits + 31) / 32) * 4;
  const int and_stride = ((w + 31) / 32) * 4;
  const std::uint32_t image_size = static_cast<std::uint32_t>(
      40 + palette.size() * 4 + static_cast<std::size_t>((xor_stride + and_stride) * h));
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, cursor ? 2 : 1);
  Put16(out, 1);
  out.push_back(static_cast<std::uint8_t>(w));
  out.push_back(static_cast<std::uint8_t>(h));
  out.push_back(cursor ? 0 : static_cast<std::uint8_t>(palette.size()));
  out.push_back(0);
  Put16(out, cursor ? hot_x : 1);
  Put16(out, cursor ? hot_y : bits);
  Put32(out, image_size);
  Put32(out, 6 + 16);

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

IndexedImage IconImage() {
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
  img.At(13, 12) = kNavy;
  img.At(17, 12) = kNavy;
  DrawGlyph(img, kA, 13, 13, kNavy, false);
  return img;
}

std::vector<std::uint8_t> IconFile() {
  return IconResourceFile(IconImage(), 4, VgaPalette(), false, 0, 0);
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
  return IconResourceFile(HandImage(), 1, {{0, 0, 0}, {255, 255, 255}}, true, 6, 0);
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

IndexedImage DonationImage() {
  const int w = 80, h = 31;
  IndexedImage img = Blank(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.At(x, y) =
          (x == 0 || y == 0 || x == w - 1 || y == h - 1)
              ? kBorder
              : static_cast<std::uint8_t>(kGradientFirst + y * (kGradientCount - 1) / (h - 1));
  // The heart, centred over the word.
  const double cx = 40.0, cy = 9.0, scale = 5.6;
  auto inside = [&](int x, int y) {
    return InHeart((x + 0.5 - cx) / scale, -(y + 0.5 - cy) / scale);
  };
  for (int y = 1; y < 17; ++y)
    for (int x = 25; x < 55; ++x) {
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
  // SPENDEN, bold, with a light shadow.
  const Glyph* word[] = {&kS, &kP, &kE, &kN, &kD, &kE, &kN};
  const int advance = 7, left = (w - (7 * advance - 1)) / 2, top = 20;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < 7; ++i)
      DrawGlyph(img, *word[i], left + i * advance + (pass == 0 ? 1 : 0), top + (pass == 0 ? 1 : 0),
                pass == 0 ? kTextShadow : kText, true);
  return img;
}

std::vector<std::uint8_t> DonationButtonGif() {
  const IndexedImage img = DonationImage();
  std::vector<gif::TGIFColor> colors;
  for (const Rgb& c : DonationPalette()) colors.push_back({c.red, c.green, c.blue});
  return gif::SaveSimplePicture(
      gif::StillPicture(img.width, img.height, std::move(colors), img.pixels));
}

std::vector<std::uint8_t> DonationPictureProperty() {
  return resources::PictureProperty(DonationButtonGif());
}

}  // namespace rf::infoart
