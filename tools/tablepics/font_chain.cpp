#include "tools/tablepics/font_chain.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace rf::tablepics {

struct FontChain::Faces {
  FT_Library library = nullptr;
  std::vector<FT_Face> faces;
  ~Faces() {
    for (FT_Face f : faces) FT_Done_Face(f);
    if (library) FT_Done_FreeType(library);
  }
};

FontChain::FontChain(std::span<const char* const> paths) : faces_(std::make_unique<Faces>()) {
  if (FT_Init_FreeType(&faces_->library) != 0) throw std::runtime_error("FreeType will not start");
  for (const char* path : paths) {
    FT_Face face = nullptr;
    if (FT_New_Face(faces_->library, path, 0, &face) != 0)
      throw std::runtime_error(std::string("cannot open font ") + path);
    faces_->faces.push_back(face);
    paths_.emplace_back(path);
  }
}

FontChain::~FontChain() = default;

int FontChain::FaceFor(char32_t codepoint) const {
  for (std::size_t i = 0; i < faces_->faces.size(); ++i)
    if (FT_Get_Char_Index(faces_->faces[i], codepoint) != 0) return static_cast<int>(i);
  return -1;
}

}  // namespace rf::tablepics
