// The info dialog's artwork, drawn by program: the module's icon, the hot-link
// label's hand cursor and the donation button. Each comes out as the bytes of
// the file the resources are built from.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/scale.h"

namespace rf::infoart {

// The letters of the larger sizes (fonts-dejavu-core).
inline constexpr const char* kArtFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// A picture of palette indexes, rows top to bottom.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  std::uint8_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
};

// resources/icons/Runefold.ico: 16 colours with a mask, one image for each
// display scale step (32 × 32 at 100 %, 48 × 48 at 150 %, ...), smallest first.
std::vector<std::uint8_t> IconFile();
// resources/icons/hand.cur: a 32 × 32 monochrome pointing hand, hot spot at
// the fingertip (6, 0).
std::vector<std::uint8_t> HandCursorFile();
// The donation button as a GIF stream: 80 × 31 at 100 %, 64 colours, a
// heart above the word SPENDEN.
std::vector<std::uint8_t> DonationButtonGif(const fw::Scale& scale = fw::Scale());
// resources/pictures/Image2.pic (Image2_150.pic at 150 %, ...): the stream as
// a stored picture property (class name "TGIFImage" with one length byte,
// then the stream).
std::vector<std::uint8_t> DonationPictureProperty(const fw::Scale& scale = fw::Scale());

// The drawings themselves, for looking at them and for tests.
IndexedImage IconImage();  // indexes into the 16 standard colours; 255 marks transparency
IndexedImage HandImage();  // 0 black, 1 white, 255 transparent
IndexedImage DonationImage();
// At a display scale: the ground and lines over the device pixels the edge
// rule gives each 96-DPI pixel (for the button, as placed in its panel, so it
// fills its control exactly), the heart and the letters drawn at the device
// resolution (the letters from kArtFont). At 100 % the drawings above.
// Throw std::runtime_error when the font cannot be read.
IndexedImage IconImageAt(const fw::Scale& scale);
IndexedImage DonationImageAt(const fw::Scale& scale);
std::vector<Rgb> DonationPalette();  // 64 entries

}  // namespace rf::infoart
