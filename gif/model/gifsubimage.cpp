#include "gif/model/gifsubimage.h"

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/read/lzwdecoder.h"

namespace rf::gif {

static_assert(TGIFSubImage::kPixelSlack >= kLzwOutputSlack);

// Refining a class never needs more than a few steps; a registered class
// that keeps answering others is cut off here.
static constexpr int kMaxRefinements = 8;

TGIFExtensionList::TGIFExtensionList(TGIFSubImage* frame)
    : TGIFList(frame != nullptr ? frame->Image() : nullptr), frame_(frame) {}

TGIFExtensionList::~TGIFExtensionList() {
  Clear();
}

TGIFExtension& TGIFExtensionList::Add(std::unique_ptr<TGIFExtension> extension) {
  items_.push_back(std::move(extension));
  return *items_.back();
}

void TGIFExtensionList::Remove(std::size_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TGIFExtensionList::Clear() {
  // Front to back, as they were made: the linked graphic control
  // extension is freed before any later one.
  for (auto& item : items_) item.reset();
  items_.clear();
}

void TGIFExtensionList::LoadFromStream(GIFInputStream& in) {
  std::uint8_t b;
  if (!in.ReadByte(b)) return;
  while (b != TGIFSubImage::kSeparator && b != 0x3B) {
    if (b != TGIFExtension::kIntroducer) {
      Warning(gsWarning, msg::kInvalidIntroducer);
      break;
    }
    const std::size_t mark = in.Position();
    const TGIFExtensionClass* cls = nullptr;
    std::uint8_t label;
    if (in.ReadByte(label)) {
      cls = FindExtension(label);
      for (int step = 0; cls != nullptr; ++step) {
        if (step == kMaxRefinements) {
          cls = nullptr;
          break;
        }
        in.Seek(mark + 1);
        const TGIFExtensionClass* refined = cls->Refine(*cls, in);
        if (refined == cls) break;
        cls = refined;
      }
    }
    in.Seek(mark);
    if (cls == nullptr) throw GIFException(msg::kUnknownExtension);
    in.StepBack();
    std::unique_ptr<TGIFExtension> extension = cls->Create(frame_);
    extension->LoadFromStream(in);
    Add(std::move(extension));
    if (!in.ReadByte(b)) return;
  }
  in.StepBack();
}

TGIFSubImage::TGIFSubImage(TGIFImage* image)
    : TGIFItem(image), color_map_(this), extensions_(this) {}

TGIFSubImage::~TGIFSubImage() {
  draw_cache_.reset();
  extensions_.Clear();
}

int TGIFSubImage::Version() const {
  if (!extensions_.Empty() || (!color_map_.Empty() && color_map_.Optimized())) return gv89a;
  return gv87a;
}

void TGIFSubImage::Clear() {
  draw_cache_.reset();
  extensions_.Clear();
  color_map_.Clear();
  FreePixels();
  descriptor_.Width = 0;
  descriptor_.Height = 0;
  transparent_ = false;
  gce_ = nullptr;
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const {
  if (!color_map_.Empty()) return color_map_;
  const TGIFImage* image = Image();
  if (image != nullptr && !image->GlobalColorMap().Empty()) return image->GlobalColorMap();
  return color_map_;
}

std::uint8_t TGIFSubImage::TransparentIndex() const {
  return gce_ != nullptr ? gce_->TransparentColorIndex() : 0;
}

std::span<std::uint8_t> TGIFSubImage::AllocatePixels() {
  const std::size_t count = static_cast<std::size_t>(descriptor_.Width) * descriptor_.Height;
  pixels_.reset(new std::uint8_t[count + kPixelSlack]);
  pixel_count_ = count;
  draw_cache_.reset();
  return {pixels_.get(), pixel_count_};
}

void TGIFSubImage::FreePixels() {
  pixels_.reset();
  pixel_count_ = 0;
}

void TGIFSubImage::LoadFromStream(GIFInputStream& in) {
  Clear();
  extensions_.LoadFromStream(in);

  // Extensions in front of the trailer (or the end) make a frame of their
  // own, without pixels.
  std::uint8_t next;
  if (!in.ReadByte(next)) return;
  in.StepBack();
  if (next == 0x3B || next == 0x00) return;

  // The separator is kept as read: after an invalid introducer the
  // descriptor is read from the offending byte on.
  std::uint8_t d[10];
  in.ReadExact(d, 10);
  descriptor_.Separator = d[0];
  descriptor_.Left = static_cast<std::uint16_t>(d[1] | (d[2] << 8));
  descriptor_.Top = static_cast<std::uint16_t>(d[3] | (d[4] << 8));
  descriptor_.Width = static_cast<std::uint16_t>(d[5] | (d[6] << 8));
  descriptor_.Height = static_cast<std::uint16_t>(d[7] | (d[8] << 8));
  descriptor_.Packed = d[9];

  TGIFImage* image = Image();
  if (descriptor_.Width == 0 || descriptor_.Height == 0) {
    descriptor_.Width = image != nullptr ? static_cast<std::uint16_t>(image->Width()) : 0;
    descriptor_.Height = image != nullptr ? static_cast<std::uint16_t>(image->Height()) : 0;
    Warning(gsWarning, msg::kExceedsScreen);
  }
  if ((descriptor_.Packed & 0x80) != 0) {
    color_map_.LoadFromStream(in, 1 << (1 + (descriptor_.Packed & 7)));
  }

  const std::size_t count = static_cast<std::size_t>(descriptor_.Width) * descriptor_.Height;
  if (image != nullptr) {
    const std::size_t used = image->DecodedPixels();
    if (count > image->MaxFramePixels || used > image->MaxImagePixels ||
        count > image->MaxImagePixels - used) {
      throw GIFException(msg::kImageTooLarge);
    }
    image->AddDecodedPixels(count);
  }
  std::span<std::uint8_t> pixels = AllocatePixels();
  LzwFrameLayout layout;
  layout.width = descriptor_.Width;
  layout.height = descriptor_.Height;
  layout.interlaced = Interlaced();
  layout.fill = transparent_ ? TransparentIndex() : 0;
  DecodeLzwFrame(in, layout, pixels.data(),
                 [this](const char* message) { Warning(gsWarning, message); });
}

}  // namespace rf::gif
