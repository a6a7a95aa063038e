// The building blocks of a GIF picture's object tree: TGIFItem (header,
// frame, extension, trailer), TGIFList (lists of frames or extensions), and
// the cache slots the drawing code fills.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gif/base/gifstream.h"

namespace rf::gif {

class TGIFImage;
class TGIFSubImage;

using ByteVector = std::vector<std::uint8_t>;

enum TGIFSeverity : int { gsInfo = 0, gsWarning = 1, gsError = 2 };

// GIF versions as parts of a picture need them.
enum TGIFVersion : int { gvUnknown = 0, gv87a = 1, gv89a = 2 };

// What drawing keeps of a frame (bitmap, mask, palette) or of a picture
// (palette, buffer bitmap, painters). The drawing code derives from these;
// destroying one releases everything it holds (a picture's also stops its
// painters). A colour map change reaches the cache through PaletteChanged.
class TGIFFrameCache {
 public:
  virtual ~TGIFFrameCache() = default;
  virtual void PaletteChanged() {}
};

class TGIFImageCache {
 public:
  virtual ~TGIFImageCache() = default;
  virtual void PaletteChanged() {}
};

class TGIFItem {
 public:
  explicit TGIFItem(TGIFImage* image) : image_(image) {}
  virtual ~TGIFItem() = default;
  TGIFItem(const TGIFItem&) = delete;
  TGIFItem& operator=(const TGIFItem&) = delete;

  TGIFImage* Image() const { return image_; }

  // The GIF version this part needs.
  virtual int Version() const { return gv87a; }
  // Hands a condition that does not stop the work to the owning picture.
  virtual void Warning(TGIFSeverity severity, const std::string& message);
  virtual void SaveToStream(ByteVector& out) = 0;
  virtual void LoadFromStream(GIFInputStream& in) = 0;
  virtual void SaveToFile(const std::string& path);
  virtual void LoadFromFile(const std::string& path);

 private:
  TGIFImage* image_;
};

class TGIFList {
 public:
  explicit TGIFList(TGIFImage* image) : image_(image) {}
  virtual ~TGIFList() = default;
  TGIFList(const TGIFList&) = delete;
  TGIFList& operator=(const TGIFList&) = delete;

  TGIFImage* Image() const { return image_; }

  virtual void Warning(TGIFSeverity severity, const std::string& message);
  virtual void SaveToStream(ByteVector& out) = 0;
  virtual void LoadFromStream(GIFInputStream& in) = 0;

 private:
  TGIFImage* image_;
};

// Whole files, for the LoadFromFile/SaveToFile operations. Reading raises
// GIFException when the file cannot be opened.
ByteVector ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const ByteVector& data);

}  // namespace rf::gif
