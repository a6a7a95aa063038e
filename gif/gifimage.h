// A GIF picture: the logical screen with its global colour table, the
// frames in stream order, and the events through which reading reports
// warnings and progress. Reading a stream (GIF87a or GIF89a) builds the
// whole tree and decodes every frame's pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gif/base/geometry.h"
#include "gif/base/gifexception.h"
#include "gif/base/gifsettings.h"
#include "gif/base/gifstream.h"
#include "gif/base/palette.h"
#include "gif/model/gifcolormap.h"
#include "gif/model/gifextensions.h"
#include "gif/model/gifheader.h"
#include "gif/model/gifitem.h"
#include "gif/model/gifsubimage.h"

namespace rf::gif {

enum TProgressStage : int { psStarting = 0, psRunning = 1, psEnding = 2 };

using TGIFWarningEvent =
    std::function<void(TGIFImage& sender, TGIFSeverity severity, const std::string& message)>;
using TGIFProgressEvent =
    std::function<void(TGIFImage& sender, TProgressStage stage, int percent_done, bool redraw_now,
                       const TGIFRect& rect, const std::string& message)>;

class TGIFImageList : public TGIFList {
 public:
  explicit TGIFImageList(TGIFImage* image) : TGIFList(image) {}
  ~TGIFImageList() override;

  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  TGIFSubImage& operator[](std::size_t index) const { return *items_[index]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  TGIFSubImage& Add(std::unique_ptr<TGIFSubImage> frame);
  void Remove(std::size_t index);
  void Clear();

  void SaveToStream(ByteVector& out) override;
  // The block loop: frames until the trailer, the end of the stream, or a
  // byte that begins no block (left unread).
  void LoadFromStream(GIFInputStream& in) override;

 private:
  std::vector<std::unique_ptr<TGIFSubImage>> items_;
};

// The trailer byte 0x3B; made only to read or write it.
class TGIFTrailer : public TGIFItem {
 public:
  static constexpr std::uint8_t kTrailer = 0x3B;
  using TGIFItem::TGIFItem;
  void SaveToStream(ByteVector& out) override;
  void LoadFromStream(GIFInputStream& in) override;
};

class TGIFImage {
 public:
  // Frames larger than this many pixels, or pictures whose frames together
  // exceed the second limit, are refused with "Image too large to decode"
  // rather than allocated: a few bytes of stream may declare 65535 × 65535.
  static constexpr std::size_t kDefaultMaxFramePixels = std::size_t{1} << 26;
  static constexpr std::size_t kDefaultMaxImagePixels = std::size_t{1} << 28;

  TGIFImage();
  ~TGIFImage();
  TGIFImage(const TGIFImage&) = delete;
  TGIFImage& operator=(const TGIFImage&) = delete;

  // Replaces the content with the stream's. On an error the stream goes
  // back to where reading began and the error is raised; the frames read
  // completely before it stay.
  void LoadFromStream(GIFInputStream& in);
  void LoadFromBytes(std::span<const std::uint8_t> data);
  void LoadFromFile(const std::string& path);
  void SaveToStream(ByteVector& out);
  void SaveToFile(const std::string& path);

  // Stops painters, frees frames, empties screen and global table.
  void Clear();

  // The logical screen's size, not any frame's.
  int Width() const { return header_.Descriptor().Width; }
  int Height() const { return header_.Descriptor().Height; }
  bool Empty() const { return images_.Empty(); }

  TGIFHeader& Header() { return header_; }
  const TGIFHeader& Header() const { return header_; }
  TGIFGlobalColorMap& GlobalColorMap() { return header_.ColorMap(); }
  const TGIFGlobalColorMap& GlobalColorMap() const { return header_.ColorMap(); }
  TGIFImageList& Images() { return images_; }
  const TGIFImageList& Images() const { return images_; }

  // The global table's entry at the background index as a colour value; an
  // index outside the table warns "Invalid color index" and answers entry
  // 0; an empty table raises "Color table is empty".
  std::uint32_t BackgroundColor();
  // The first loop extension of any frame, or nullptr.
  const TGIFAppExtNSLoop* LoopExtension() const;

  void Warning(TGIFSeverity severity, const std::string& message);
  void Progress(TProgressStage stage, int percent_done, bool redraw_now, const TGIFRect& rect,
                const std::string& message);

  TGIFWarningEvent OnWarning;
  TGIFProgressEvent OnProgress;

  // How bitmaps of more than 256 colours are reduced when they are made
  // into frames (bitmapimport.h): the method (0 to 9, default 6, the
  // 216-colour cube), the colours as bits of method 7, the dither mode (0 to
  // 6, default 0, nearest colour) and the palette of method 9.
  TColorReduction ColorReduction = rmNetscape;
  int ReductionBits = kDefaultReductionBits;
  TDitherMode DitherMode = dmNearest;
  Palette ReductionPalette;

  std::size_t MaxFramePixels = kDefaultMaxFramePixels;
  std::size_t MaxImagePixels = kDefaultMaxImagePixels;
  // The coder frames are written with: gcLZW (the default) or gcRLE.
  TGIFCompression Compression = gcLZW;
  // Pixels allocated by the frames read so far (checked against
  // MaxImagePixels).
  std::size_t DecodedPixels() const { return decoded_pixels_; }
  void AddDecodedPixels(std::size_t count) { decoded_pixels_ += count; }

  // Drawing state of the picture (palette, buffer bitmap, painters); see
  // TGIFImageCache. Clearing the picture destroys it first.
  TGIFImageCache* DrawCache() const { return draw_cache_.get(); }
  void SetDrawCache(std::unique_ptr<TGIFImageCache> cache) { draw_cache_ = std::move(cache); }
  void FreeDrawCache() { draw_cache_.reset(); }

 private:
  std::unique_ptr<TGIFImageCache> draw_cache_;
  TGIFHeader header_;
  TGIFImageList images_;
  std::size_t decoded_pixels_ = 0;
};

}  // namespace rf::gif
