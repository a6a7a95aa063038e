#include "gif/reduce/colorquantizer.h"

#include <algorithm>

namespace rf::gif {

TColorQuantizer::TColorQuantizer(int max_colors, int color_bits)
    : max_colors_(std::max(max_colors, 1)), color_bits_(std::clamp(color_bits, 1, 8)) {}

// Frees the tree without deep recursion on the way down a long chain.
TColorQuantizer::~TColorQuantizer() {
  std::vector<std::unique_ptr<TOctreeNode>> pending;
  if (root_) pending.push_back(std::move(root_));
  while (!pending.empty()) {
    std::unique_ptr<TOctreeNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->Child)
      if (child) pending.push_back(std::move(child));
  }
}

void TColorQuantizer::AddColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const std::uint32_t color = red | (green << 8) | (blue << 16);
  TOctreeNode* node = last_leaf_;
  if (node == nullptr || color != last_color_) {
    if (!root_) {
      root_ = std::make_unique<TOctreeNode>();
      root_->IsLeaf = color_bits_ == 0;
      root_->Next = reducible_[0];
      reducible_[0] = root_.get();
    }
    node = root_.get();
    for (int level = 0; !node->IsLeaf; ++level) {
      const int shift = 7 - level;
      const int index =
          (((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1);
      std::unique_ptr<TOctreeNode>& child = node->Child[static_cast<std::size_t>(index)];
      if (!child) {
        child = std::make_unique<TOctreeNode>();
        if (level + 1 == color_bits_) {
          child->IsLeaf = true;
          ++leaf_count_;
        } else {
          child->Next = reducible_[static_cast<std::size_t>(level) + 1];
          reducible_[static_cast<std::size_t>(level) + 1] = child.get();
        }
      }
      node = child.get();
    }
  }
  ++node->PixelCount;
  node->RedSum += red;
  node->GreenSum += green;
  node->BlueSum += blue;
  last_leaf_ = node;
  last_color_ = color;
  while (leaf_count_ > max_colors_) {
    int before = leaf_count_;
    Reduce();
    if (leaf_count_ == before && reducible_[0] == nullptr) break;
  }
}

void TColorQuantizer::AddBgrPixels(std::span<const std::uint8_t> bgr) {
  for (std::size_t i = 0; i + 2 < bgr.size(); i += 3) AddColor(bgr[i + 2], bgr[i + 1], bgr[i]);
}

void TColorQuantizer::Reduce() {
  int level = color_bits_ - 1;
  while (level > 0 && reducible_[static_cast<std::size_t>(level)] == nullptr) --level;
  TOctreeNode* node = reducible_[static_cast<std::size_t>(level)];
  if (node == nullptr) return;
  reducible_[static_cast<std::size_t>(level)] = node->Next;
  node->Next = nullptr;
  int children = 0;
  for (auto& child : node->Child) {
    if (!child) continue;
    node->PixelCount += child->PixelCount;
    node->RedSum += child->RedSum;
    node->GreenSum += child->GreenSum;
    node->BlueSum += child->BlueSum;
    child.reset();
    ++children;
  }
  node->IsLeaf = true;
  leaf_count_ -= children - 1;
  last_leaf_ = nullptr;
}

Palette TColorQuantizer::Colors() const {
  Palette colors;
  if (!root_) return colors;
  std::vector<const TOctreeNode*> stack{root_.get()};
  while (!stack.empty()) {
    const TOctreeNode* node = stack.back();
    stack.pop_back();
    if (node->IsLeaf) {
      PaletteEntry e;
      if (node->PixelCount > 0) {
        e.red = static_cast<std::uint8_t>(node->RedSum / node->PixelCount);
        e.green = static_cast<std::uint8_t>(node->GreenSum / node->PixelCount);
        e.blue = static_cast<std::uint8_t>(node->BlueSum / node->PixelCount);
      }
      colors.push_back(e);
      continue;
    }
    for (int i = 7; i >= 0; --i)
      if (node->Child[static_cast<std::size_t>(i)])
        stack.push_back(node->Child[static_cast<std::size_t>(i)].get());
  }
  return colors;
}

Palette PlaceQuantizedColors(const TColorQuantizer& quantizer, int color_count, bool reserve_static,
                             const Palette& system_palette) {
  Palette colors = quantizer.Colors();
  if (!reserve_static) {
    colors.resize(static_cast<std::size_t>(std::max(color_count, 1)));
    return colors;
  }
  Palette result(256);
  const std::size_t n = system_palette.size();
  for (std::size_t i = 0; i < 10 && i < n; ++i) result[i] = system_palette[i];
  for (std::size_t i = 0; i < 10 && n >= 20; ++i) result[246 + i] = system_palette[n - 10 + i];
  std::copy_n(colors.begin(), std::min<std::size_t>(colors.size(), 236), result.begin() + 10);
  return result;
}

Palette Quantize(std::span<const std::uint8_t> bgr_pixels, int color_count, int color_bits,
                 bool reserve_static, const Palette& system_palette) {
  TColorQuantizer quantizer(reserve_static ? 236 : color_count, color_bits);
  quantizer.AddBgrPixels(bgr_pixels);
  return PlaceQuantizedColors(quantizer, color_count, reserve_static, system_palette);
}

}  // namespace rf::gif
