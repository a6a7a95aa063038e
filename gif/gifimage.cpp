#include "gif/gifimage.h"

#include "gif/base/gifmessages.h"

namespace rf::gif {

// Frames

TGIFImageList::~TGIFImageList() {
  Clear();
}

TGIFSubImage& TGIFImageList::Add(std::unique_ptr<TGIFSubImage> frame) {
  items_.push_back(std::move(frame));
  return *items_.back();
}

void TGIFImageList::Remove(std::size_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TGIFImageList::Clear() {
  items_.clear();
}

void TGIFImageList::LoadFromStream(GIFInputStream& in) {
  for (;;) {
    std::uint8_t b;
    do {
      if (!in.ReadByte(b)) return;
    } while (b == 0x00);
    in.StepBack();
    if (b == TGIFTrailer::kTrailer) return;
    if (b != TGIFExtension::kIntroducer && b != TGIFSubImage::kSeparator) {
      Warning(gsWarning, msg::kUnknownBlock);
      return;
    }
    auto frame = std::make_unique<TGIFSubImage>(Image());
    frame->LoadFromStream(in);
    Add(std::move(frame));
    if (Image() != nullptr) {
      const std::size_t size = in.Size();
      const int percent = size == 0 ? 100 : static_cast<int>((in.Position() * 200 / size + 1) / 2);
      Image()->Progress(psRunning, percent, false, TGIFRect{}, msg::kLoading);
    }
  }
}

// Trailer

void TGIFTrailer::LoadFromStream(GIFInputStream& in) {
  std::uint8_t b;
  if (in.ReadByte(b) && b != kTrailer) Warning(gsWarning, msg::kInvalidTrailer);
}

// The picture

TGIFImage::TGIFImage() : header_(this), images_(this) {}

TGIFImage::~TGIFImage() {
  Clear();
}

void TGIFImage::Clear() {
  draw_cache_.reset();  // stops the painters before their frames go
  images_.Clear();
  header_.Clear();
  decoded_pixels_ = 0;
}

void TGIFImage::LoadFromStream(GIFInputStream& in) {
  Progress(psStarting, 0, false, TGIFRect{}, msg::kLoading);
  Clear();
  const std::size_t start = in.Position();
  try {
    header_.LoadFromStream(in);
    images_.LoadFromStream(in);
    TGIFTrailer trailer(this);
    trailer.LoadFromStream(in);
  } catch (...) {
    in.Seek(start);
    Progress(psEnding, 0, true, TGIFRect{}, msg::kLoading);
    throw;
  }
  Progress(psEnding, 100, true, TGIFRect{}, msg::kLoading);
}

void TGIFImage::LoadFromBytes(std::span<const std::uint8_t> data) {
  GIFInputStream in(data);
  LoadFromStream(in);
}

void TGIFImage::LoadFromFile(const std::string& path) {
  ByteVector data = ReadWholeFile(path);
  LoadFromBytes(data);
}

void TGIFImage::SaveToFile(const std::string& path) {
  ByteVector out;
  SaveToStream(out);
  WriteWholeFile(path, out);
}

std::uint32_t TGIFImage::BackgroundColor() {
  const TGIFGlobalColorMap& map = GlobalColorMap();
  if (map.Empty()) throw GIFException(msg::kColorTableEmpty);
  int index = header_.Descriptor().BackgroundColorIndex;
  if (index >= map.Count()) {
    Warning(gsWarning, msg::kInvalidColorIndex);
    index = 0;
  }
  return map.ColorValue(index);
}

const TGIFAppExtNSLoop* TGIFImage::LoopExtension() const {
  for (const auto& frame : images_) {
    for (const auto& extension : frame->Extensions()) {
      if (auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(extension.get())) return loop;
    }
  }
  return nullptr;
}

void TGIFImage::Warning(TGIFSeverity severity, const std::string& message) {
  if (OnWarning) OnWarning(*this, severity, message);
}

void TGIFImage::Progress(TProgressStage stage, int percent_done, bool redraw_now,
                         const TGIFRect& rect, const std::string& message) {
  if (OnProgress) OnProgress(*this, stage, percent_done, redraw_now, rect, message);
}

}  // namespace rf::gif
