// The stream's header: signature and version (not kept), the logical screen
// descriptor exactly as read, and the global colour table.
#pragma once

#include <cstdint>

#include "gif/model/gifcolormap.h"
#include "gif/model/gifitem.h"

namespace rf::gif {

struct TGIFScreenDescriptor {
  std::uint16_t Width = 0;
  std::uint16_t Height = 0;
  std::uint8_t Packed = 0;  // bit 7 global table, 4-6 resolution, 3 sorted, 0-2 size
  std::uint8_t BackgroundColorIndex = 0;
  std::uint8_t AspectRatio = 0;
};

class TGIFHeader : public TGIFItem {
 public:
  explicit TGIFHeader(TGIFImage* image) : TGIFItem(image), color_map_(this) {}

  TGIFScreenDescriptor& Descriptor() { return descriptor_; }
  const TGIFScreenDescriptor& Descriptor() const { return descriptor_; }
  TGIFGlobalColorMap& ColorMap() { return color_map_; }
  const TGIFGlobalColorMap& ColorMap() const { return color_map_; }

  // Empty screen, no global colour table.
  void Clear();

  void SaveToStream(ByteVector& out) override;
  // Signature (also after a 4-byte prefix), screen descriptor, global table.
  void LoadFromStream(GIFInputStream& in) override;

 private:
  TGIFScreenDescriptor descriptor_;
  TGIFGlobalColorMap color_map_;
};

}  // namespace rf::gif
