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

GreyGlyph FontChain::Render(char32_t codepoint, int pixel_size) const {
  const int index = FaceFor(codepoint);
  if (index < 0) throw std::runtime_error("no font has U+" + std::to_string(codepoint));
  FT_Face face = faces_->faces[static_cast<std::size_t>(index)];
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_size)) != 0 ||
      FT_Load_Char(face, codepoint, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
    throw std::runtime_error("cannot render U+" + std::to_string(codepoint));
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  GreyGlyph g;
  g.width = static_cast<int>(bm.width);
  g.height = static_cast<int>(bm.rows);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.ascender = static_cast<int>(face->size->metrics.ascender >> 6);
  g.advance = static_cast<int>(slot->advance.x >> 6);
  g.coverage.resize(static_cast<std::size_t>(g.width * g.height));
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      g.coverage[static_cast<std::size_t>(y * g.width + x)] = bm.buffer[y * bm.pitch + x];
  return g;
}

}  // namespace rf::tablepics
