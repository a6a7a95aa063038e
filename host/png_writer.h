// Writes 24-bit RGB pictures as PNG files (stored deflate blocks: no
// compression library needed for screenshots).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rf::host {

// rgb holds width * height * 3 bytes, rows top to bottom.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);
bool WritePngFile(const std::string& path, int width, int height,
                  const std::vector<std::uint8_t>& rgb);

}  // namespace rf::host
