#include "tools/tablepics/picture_file.h"

#include <string>

#include "gif/model/gifsimple.h"
#include "resources/picture_property.h"

namespace rf::tablepics {

std::array<Rgb, 256> TablePalette() {
  std::array<Rgb, 256> palette{};  // entries 16 and up stay black
  const Rgb vga[16] = {
      {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
      {192, 192, 192}, {0, 0, 128},   {128, 0, 128}, {0, 128, 128},
      {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
      {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
  };
  for (int i = 0; i < 16; ++i) palette[static_cast<std::size_t>(i)] = vga[i];
  return palette;
}

std::vector<std::uint8_t> EncodeGif(const IndexedPicture& picture,
                                    const std::array<Rgb, 256>& palette) {
  std::vector<gif::TGIFColor> colors;
  for (const Rgb c : palette) colors.push_back({c.red, c.green, c.blue});
  return gif::SaveSimplePicture(
      gif::StillPicture(picture.width, picture.height, std::move(colors), picture.pixels));
}

std::vector<std::uint8_t> PictureProperty(std::span<const std::uint8_t> gif) {
  return resources::PictureProperty(gif);
}

std::vector<std::uint8_t> EncodePpm(const IndexedPicture& picture,
                                    const std::array<Rgb, 256>& palette) {
  const std::string header =
      "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
  std::vector<std::uint8_t> out(header.begin(), header.end());
  for (std::uint8_t index : picture.pixels) {
    const Rgb c = palette[index];
    out.insert(out.end(), {c.red, c.green, c.blue});
  }
  return out;
}

}  // namespace rf::tablepics
