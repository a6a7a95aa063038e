// The scalable fonts the larger table pictures are drawn from, tried in
// order for each character: a monospaced serif face first, then faces
// for what it lacks. All come from Debian packages (scripts/install-deps.sh).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace rf::tablepics {

// FreeMono (fonts-freefont-ttf) draws nearly every cell; DejaVu Sans Mono
// (fonts-dejavu-core) and TlwgTypo (fonts-tlwg-typo-ttf, the Thai cells)
// the rest.
inline constexpr const char* kScalableFonts[] = {
    "/usr/share/fonts/truetype/freefont/FreeMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/tlwg/TlwgTypo.ttf",
};

// A glyph as FreeType renders it, smoothed: coverage 0 (none) to 255.
struct GreyGlyph {
  int width = 0, height = 0;
  int left = 0;                        // from the pen position to the bitmap's left edge
  int top = 0;                         // from the baseline up to the bitmap's top edge
  int ascender = 0;                    // of the face at this size, baseline to the box's top
  int advance = 0;                     // pen movement to the next glyph
  std::vector<std::uint8_t> coverage;  // row by row
  std::uint8_t At(int x, int y) const { return coverage[static_cast<std::size_t>(y * width + x)]; }
};

class FontChain {
 public:
  // Throws std::runtime_error naming a file FreeType cannot open.
  explicit FontChain(std::span<const char* const> paths);
  ~FontChain();
  FontChain(const FontChain&) = delete;
  FontChain& operator=(const FontChain&) = delete;

  // The index of the first face with a glyph for the character, or -1.
  int FaceFor(char32_t codepoint) const;
  // The character's glyph from its face at a pixel size (the em square);
  // throws std::runtime_error when no face has it.
  GreyGlyph Render(char32_t codepoint, int pixel_size) const;
  const std::string& PathOf(int face) const { return paths_.at(static_cast<std::size_t>(face)); }

 private:
  struct Faces;
  std::unique_ptr<Faces> faces_;
  std::vector<std::string> paths_;
};

}  // namespace rf::tablepics
