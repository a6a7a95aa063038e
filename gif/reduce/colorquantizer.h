// Octree colour quantizer: builds a palette of at most a given number of
// colours for a picture of many.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gif/base/palette.h"

namespace rf::gif {

class TOctreeNode {
 public:
  bool IsLeaf = false;
  std::uint64_t PixelCount = 0;
  std::uint64_t RedSum = 0;
  std::uint64_t GreenSum = 0;
  std::uint64_t BlueSum = 0;
  std::array<std::unique_ptr<TOctreeNode>, 8> Child;
  // Next node of the same level's reducible list.
  TOctreeNode* Next = nullptr;
};

class TColorQuantizer {
 public:
  // `max_colors` leaves at most (1 or more); a tree `color_bits` deep (1 to 8).
  TColorQuantizer(int max_colors, int color_bits);
  ~TColorQuantizer();
  TColorQuantizer(const TColorQuantizer&) = delete;
  TColorQuantizer& operator=(const TColorQuantizer&) = delete;

  void AddColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // Pixels as 3 bytes blue, green, red (the order of a 24-bit bitmap row).
  void AddBgrPixels(std::span<const std::uint8_t> bgr);

  int LeafCount() const { return leaf_count_; }
  // The leaves in depth-first order of children 0 to 7, each its average
  // colour.
  Palette Colors() const;

 private:
  void Reduce();

  int max_colors_;
  int color_bits_;
  int leaf_count_ = 0;
  std::unique_ptr<TOctreeNode> root_;
  std::array<TOctreeNode*, 9> reducible_{};
  // The leaf the previous pixel went to, and its colour: runs of one colour
  // skip the walk. Dropped whenever the tree is reduced.
  TOctreeNode* last_leaf_ = nullptr;
  std::uint32_t last_color_ = 0;
};

// The quantizer's colours placed into a palette: with `reserve_static` 256
// entries, the first and the last 10 entries of `system_palette` (its 20
// static colours) in their places and the quantized colours in entries 10
// to 245; otherwise `color_count` entries. Entries without a colour stay
// black.
Palette PlaceQuantizedColors(const TColorQuantizer& quantizer, int color_count, bool reserve_static,
                             const Palette& system_palette);

// A palette for a picture of 24-bit pixels (blue, green, red), placed as
// above; with `reserve_static` 236 colours are quantized.
Palette Quantize(std::span<const std::uint8_t> bgr_pixels, int color_count, int color_bits,
                 bool reserve_static, const Palette& system_palette);

}  // namespace rf::gif
