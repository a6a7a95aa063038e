// The info dialog's artwork, drawn by program: the module's icon, the hot-link
// label's hand cursor and the donation button. Each comes out as the bytes of
// the file the resources are built from.
#pragma once

#include <cstdint>
#include <vector>

namespace rf::infoart {

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

// resources/icons/Runefold.ico: 32 × 32, 16 colours, with its mask.
std::vector<std::uint8_t> IconFile();
// resources/icons/hand.cur: a 32 × 32 monochrome pointing hand, hot spot at
// the fingertip (6, 0).
std::vector<std::uint8_t> HandCursorFile();
// The donation button as a GIF stream: 80 × 31, 64 colours, a heart above
// the word SPENDEN.
std::vector<std::uint8_t> DonationButtonGif();
// resources/pictures/Image2.pic: the stream as a stored picture property
// (class name "TGIFImage" with one length byte, then the stream).
std::vector<std::uint8_t> DonationPictureProperty();

// The drawings themselves, for looking at them and for tests.
IndexedImage IconImage();  // indexes into the 16 standard colours; 255 marks transparency
IndexedImage HandImage();  // 0 black, 1 white, 255 transparent
IndexedImage DonationImage();
std::vector<Rgb> DonationPalette();  // 64 entries

}  // namespace rf::infoart
