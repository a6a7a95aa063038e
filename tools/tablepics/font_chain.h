// The scalable fonts the larger table pictures are drawn from, tried in
// order for each character: a monospaced serif face first, then faces
// for what it lacks. All come from Debian packages (scripts/install-deps.sh).
#pragma once

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

class FontChain {
 public:
  // Throws std::runtime_error naming a file FreeType cannot open.
  explicit FontChain(std::span<const char* const> paths);
  ~FontChain();
  FontChain(const FontChain&) = delete;
  FontChain& operator=(const FontChain&) = delete;

  // The index of the first face with a glyph for the character, or -1.
  int FaceFor(char32_t codepoint) const;
  const std::string& PathOf(int face) const { return paths_.at(static_cast<std::size_t>(face)); }

 private:
  struct Faces;
  std::unique_ptr<Faces> faces_;
  std::vector<std::string> paths_;
};

}  // namespace rf::tablepics
