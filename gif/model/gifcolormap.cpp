#include "gif/model/gifcolormap.h"

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/model/gifheader.h"
#include "gif/model/gifsubimage.h"

namespace rf::gif {

int TGIFColorMap::CapacityFor(int count) {
  if (count <= 16) return 16;
  int capacity = 16 + (count - 16 + 31) / 32 * 32;
  return capacity < kMaxColors ? capacity : kMaxColors;
}

std::uint32_t TGIFColorMap::ColorValue(int index) const {
  const TGIFColor& c = (*this)[index];
  return static_cast<std::uint32_t>(c.red) | (static_cast<std::uint32_t>(c.green) << 8) |
         (static_cast<std::uint32_t>(c.blue) << 16);
}

void TGIFColorMap::Clear() {
  colors_.clear();
  count_ = 0;
  optimized_ = false;
  Changed();
}

void TGIFColorMap::SetCount(int count) {
  if (count < 0 || count > kMaxColors) throw GIFException(msg::kColorTableOverflow);
  int capacity = CapacityFor(count);
  if (capacity > Capacity()) colors_.resize(static_cast<std::size_t>(capacity));
  for (int i = count_; i < count; ++i) colors_[static_cast<std::size_t>(i)] = TGIFColor{};
  count_ = count;
  Changed();
}

int TGIFColorMap::Add(const TGIFColor& color) {
  int index = count_;
  SetCount(count_ + 1);
  colors_[static_cast<std::size_t>(index)] = color;
  return index;
}

void TGIFColorMap::LoadFromStream(GIFInputStream& in, int count) {
  Clear();
  if (count > kMaxColors) count = kMaxColors;
  colors_.resize(static_cast<std::size_t>(CapacityFor(count)));
  in.ReadExact(colors_.data(), static_cast<std::size_t>(count) * 3);
  count_ = count;
  Changed();
}

void TGIFGlobalColorMap::Warning(TGIFSeverity severity, const std::string& message) {
  if (header_ != nullptr) header_->Warning(severity, message);
}

void TGIFGlobalColorMap::Changed() {
  TGIFImage* image = header_ != nullptr ? header_->Image() : nullptr;
  if (image != nullptr && image->DrawCache() != nullptr) image->DrawCache()->PaletteChanged();
}

void TGIFLocalColorMap::Warning(TGIFSeverity severity, const std::string& message) {
  if (frame_ != nullptr) frame_->Warning(severity, message);
}

void TGIFLocalColorMap::Changed() {
  if (frame_ != nullptr && frame_->DrawCache() != nullptr) frame_->DrawCache()->PaletteChanged();
}

}  // namespace rf::gif
