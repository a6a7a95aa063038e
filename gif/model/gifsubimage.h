// One frame: its image descriptor as read, local colour table, the
// extensions that stood in front of it, and its pixels (one colour index per
// byte, rows top to bottom, no padding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gif/model/gifcolormap.h"
#include "gif/model/gifextensions.h"
#include "gif/model/gifitem.h"

namespace rf::gif {

class TGIFExtensionList : public TGIFList {
 public:
  explicit TGIFExtensionList(TGIFSubImage* frame);
  ~TGIFExtensionList() override;

  TGIFSubImage* Frame() const { return frame_; }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  TGIFExtension& operator[](std::size_t index) const { return *items_[index]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  TGIFExtension& Add(std::unique_ptr<TGIFExtension> extension);
  void Remove(std::size_t index);
  void Clear();

  void SaveToStream(ByteVector& out) override;
  // The run of extensions in front of a frame; leaves the stream at the
  // byte that stopped it.
  void LoadFromStream(GIFInputStream& in) override;

 private:
  TGIFSubImage* frame_;
  std::vector<std::unique_ptr<TGIFExtension>> items_;
};

struct TGIFImageDescriptor {
  std::uint8_t Separator = 0x2C;
  std::uint16_t Left = 0;
  std::uint16_t Top = 0;
  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  std::uint8_t Packed = 0;  // bit 7 local table, 6 interlaced, 5 sorted, 0-2 size
};

class TGIFSubImage : public TGIFItem {
 public:
  static constexpr std::uint8_t kSeparator = 0x2C;
  // Bytes kept writable behind the pixels so the decoder may copy in whole
  // words; never part of the picture.
  static constexpr std::size_t kPixelSlack = 16;

  explicit TGIFSubImage(TGIFImage* image);
  ~TGIFSubImage() override;

  // 2 (89a) with extensions or a sorted local table, else 1 (87a).
  int Version() const override;
  void SaveToStream(ByteVector& out) override;
  // Extensions, then (unless the trailer or the end follows) descriptor,
  // local table and decoded pixels.
  void LoadFromStream(GIFInputStream& in) override;

  // Frees extensions, local table, pixels, size, transparency and caches.
  void Clear();

  TGIFImageDescriptor& Descriptor() { return descriptor_; }
  const TGIFImageDescriptor& Descriptor() const { return descriptor_; }
  int Left() const { return descriptor_.Left; }
  int Top() const { return descriptor_.Top; }
  int Width() const { return descriptor_.Width; }
  int Height() const { return descriptor_.Height; }
  bool Interlaced() const { return (descriptor_.Packed & 0x40) != 0; }

  TGIFLocalColorMap& ColorMap() { return color_map_; }
  const TGIFLocalColorMap& ColorMap() const { return color_map_; }
  // The local table if it has entries, else the global one if that has,
  // else the (empty) local one.
  const TGIFColorMap& ActiveColorMap() const;

  TGIFExtensionList& Extensions() { return extensions_; }
  const TGIFExtensionList& Extensions() const { return extensions_; }

  // A frame without pixels holds only extensions.
  bool Empty() const { return pixel_count_ == 0; }
  std::span<std::uint8_t> Pixels() { return {pixels_.get(), pixel_count_}; }
  std::span<const std::uint8_t> Pixels() const { return {pixels_.get(), pixel_count_}; }
  // A fresh, uninitialised buffer of width × height bytes (plus slack).
  std::span<std::uint8_t> AllocatePixels();
  void FreePixels();

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  // From the linked graphic control extension; 0 without one.
  std::uint8_t TransparentIndex() const;
  TGIFGraphicControlExtension* GraphicControlExtension() const { return gce_; }
  void SetGraphicControlExtension(TGIFGraphicControlExtension* gce) { gce_ = gce; }

  // Drawing state of this frame (bitmap, mask, palette); see TGIFFrameCache.
  TGIFFrameCache* DrawCache() const { return draw_cache_.get(); }
  void SetDrawCache(std::unique_ptr<TGIFFrameCache> cache) { draw_cache_ = std::move(cache); }
  void FreeDrawCache() { draw_cache_.reset(); }

 private:
  TGIFImageDescriptor descriptor_;
  TGIFLocalColorMap color_map_;
  TGIFExtensionList extensions_;
  std::unique_ptr<std::uint8_t[]> pixels_;
  std::size_t pixel_count_ = 0;
  bool transparent_ = false;
  TGIFGraphicControlExtension* gce_ = nullptr;
  std::unique_ptr<TGIFFrameCache> draw_cache_;
};

}  // namespace rf::gif
