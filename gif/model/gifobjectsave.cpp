// Writing the picture objects back out as a GIF stream: SaveToStream of the
// image, header, frame list, frames, colour maps, extensions and trailer.
#include <algorithm>
#include <cmath>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"
#include "gif/write/framecoder.h"
#include "gif/write/gifsave.h"
#include "gif/write/gifwriter.h"

namespace rf::gif {

namespace {

// Bits of a colour map as written (0 for an empty map).
int MapBits(const TGIFColorMap& map) {
  return map.Empty() ? 0 : ColorBits(map.Count());
}

// The largest bits of the global and all local maps; 0 when there are none.
int LargestBits(const TGIFImage& image) {
  int bits = MapBits(image.GlobalColorMap());
  for (const auto& frame : image.Images()) bits = std::max(bits, MapBits(frame->ColorMap()));
  return bits;
}

void WriteMap(ByteVector& out, const TGIFColorMap& map) {
  static_assert(sizeof(TGIFColor) == 3);
  WriteColorTable(out, reinterpret_cast<const std::uint8_t*>(map.Colors().data()), map.Count());
}

void WriteExtensionHead(ByteVector& out, const TGIFExtension& ext) {
  PutByte(out, TGIFExtension::kIntroducer);
  PutByte(out, ext.Label());
}

// Reports stage 2 of saving on every way out.
class SaveProgress {
 public:
  explicit SaveProgress(TGIFImage& image) : image_(image) {
    image_.Progress(psStarting, 0, false, TGIFRect{}, msg::kSaving);
  }
  SaveProgress(const SaveProgress&) = delete;
  SaveProgress& operator=(const SaveProgress&) = delete;
  ~SaveProgress() {
    try {
      image_.Progress(psEnding, done_ ? 100 : 0, false, TGIFRect{}, msg::kSaving);
    } catch (...) {
      // A failing progress handler must not replace the error being raised.
    }
  }
  void Done() { done_ = true; }

 private:
  TGIFImage& image_;
  bool done_ = false;
};

// The highest version a frame needs; 0 without frames.
int PictureVersion(const TGIFImage& image) {
  int version = gvUnknown;
  for (const auto& frame : image.Images()) {
    version = std::max(version, frame->Version());
    if (version >= gv89a) break;
  }
  return version;
}

}  // namespace

void TGIFImage::SaveToStream(ByteVector& out) {
  SaveProgress progress(*this);
  header_.SaveToStream(out);
  images_.SaveToStream(out);
  TGIFTrailer trailer(this);
  trailer.SaveToStream(out);
  progress.Done();
}

void TGIFHeader::SaveToStream(ByteVector& out) {
  TGIFImage& image = *Image();
  WriteSignature(out, PictureVersion(image));
  descriptor_.Packed =
      ScreenPackedByte(color_map_.Count(), color_map_.Optimized(), LargestBits(image));
  PutWord(out, descriptor_.Width);
  PutWord(out, descriptor_.Height);
  PutByte(out, descriptor_.Packed);
  PutByte(out, descriptor_.BackgroundColorIndex);
  PutByte(out, descriptor_.AspectRatio);
  WriteMap(out, color_map_);
}

void TGIFImageList::SaveToStream(ByteVector& out) {
  const std::size_t count = items_.size();
  for (std::size_t i = 0; i < count; ++i) {
    items_[i]->SaveToStream(out);
    Image()->Progress(psRunning,
                      static_cast<int>(std::lround(static_cast<double>(i + 1) * 100.0 /
                                                   static_cast<double>(count))),
                      false, TGIFRect{}, msg::kSaving);
  }
}

void TGIFExtensionList::SaveToStream(ByteVector& out) {
  for (const auto& ext : items_) ext->SaveToStream(out);
}

void TGIFSubImage::SaveToStream(ByteVector& out) {
  extensions_.SaveToStream(out);
  if (Empty()) return;

  // The descriptor may have been changed by hand after the pixels were
  // made; never read past the buffer.
  if (pixel_count_ != static_cast<std::size_t>(descriptor_.Width) * descriptor_.Height) {
    throw GIFException(msg::kInvalidDimensions);
  }
  TGIFImage& image = *Image();
  int bits;
  int colors;
  if (!color_map_.Empty()) {
    bits = ColorBits(color_map_.Count());
    colors = color_map_.Count();
    // The interlace bit stays: the data below are written in its order.
    descriptor_.Packed = static_cast<std::uint8_t>(
        0x80 | (descriptor_.Packed & 0x40) | (color_map_.Optimized() ? 0x20 : 0) | (bits - 1));
  } else {
    const int largest = LargestBits(image);
    // Without any table nothing limits the indexes: code all 8 bits.
    bits = largest > 0 ? largest : 8;
    // Indexes must lie inside the global table as it is written.
    const TGIFColorMap& global = image.GlobalColorMap();
    colors = global.Empty() ? 1 << bits : 1 << ColorBits(global.Count());
    descriptor_.Packed &= 0x58;
  }
  // The separator is written as the standard has it, whatever was read.
  PutByte(out, kSeparator);
  PutWord(out, descriptor_.Left);
  PutWord(out, descriptor_.Top);
  PutWord(out, descriptor_.Width);
  PutWord(out, descriptor_.Height);
  PutByte(out, descriptor_.Packed);
  WriteMap(out, color_map_);
  CompressFrame(out, image.Compression, bits, colors, pixels_.get(), Interlaced(),
                descriptor_.Height, descriptor_.Width);
}

void TGIFGraphicControlExtension::SaveToStream(ByteVector& out) {
  WriteExtensionHead(out, *this);
  PutBytes(out, block_.data(), block_.size());
}

void TGIFTextExtension::SaveToStream(ByteVector& out) {
  WriteExtensionHead(out, *this);
  PutBytes(out, header_.data(), header_.size());
  WriteLines(out, text_);
}

void TGIFCommentExtension::SaveToStream(ByteVector& out) {
  WriteExtensionHead(out, *this);
  WriteLines(out, comment_);
}

void TGIFApplicationExtension::SaveToStream(ByteVector& out) {
  WriteExtensionHead(out, *this);
  PutByte(out, 11);
  PutBytes(out, identifier_.data(), identifier_.size());
  WriteData(out);
}

void TGIFApplicationExtension::WriteData(ByteVector& out) {
  PutByte(out, 0);
}

void TGIFAppExtNSLoop::WriteData(ByteVector& out) {
  PutBytes(out, "\x03\x01", 2);
  PutWord(out, loop_count_);
  if (buffer_size_ > 0) {
    PutBytes(out, "\x05\x02", 2);
    PutWord(out, static_cast<std::uint16_t>(buffer_size_));
    PutWord(out, static_cast<std::uint16_t>(buffer_size_ >> 16));
  }
  PutByte(out, 0);
}

void TGIFUnknownAppExtension::WriteData(ByteVector& out) {
  for (const TGIFBlock& block : blocks_) {
    // A kept block is a sub-block: 255 bytes at most. Longer data (built by
    // hand) go out as several sub-blocks rather than a size byte that wraps.
    WriteSubBlocks(out, block.Data.data(), block.Data.size());
  }
  PutByte(out, 0);
}

void TGIFTrailer::SaveToStream(ByteVector& out) {
  PutByte(out, kTrailer);
}

}  // namespace rf::gif
