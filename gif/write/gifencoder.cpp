#include "gif/write/gifencoder.h"

#include <algorithm>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {

namespace {

// Row steps and first rows of the four interlace passes.
constexpr int kPassStep[4] = {8, 8, 4, 2};
constexpr int kPassStart[4] = {0, 4, 2, 1};

}  // namespace

void TGIFEncoder::Compress(std::vector<std::uint8_t>& out, int bits_per_pixel, int num_colors,
                           const std::uint8_t* pixels, bool interlaced, int height, int width) {
  bits_per_pixel_ = std::clamp(bits_per_pixel, 2, 8);
  num_colors_ = num_colors;
  width_ = width;
  height_ = height;
  interlaced_ = interlaced;
  pixels_ = pixels;
  initial_code_size_ = bits_per_pixel_ + 1;
  code_size_ = initial_code_size_;
  max_code_ = (1u << code_size_) - 1;
  clear_code_ = 1u << bits_per_pixel_;
  end_code_ = clear_code_ + 1;
  first_free_code_ = clear_code_ + 2;
  just_cleared_ = false;
  bucket_ = 0;
  bucket_bits_ = 0;
  row_ = 0;
  pass_ = 0;
  started_ = false;

  const bool has_pixels = pixels != nullptr && width > 0 && height > 0;
  // Checked before anything is coded, so a bad frame leaves no half-written
  // data behind its minimum code size byte.
  if (has_pixels && num_colors < 256) {
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::uint8_t top = *std::max_element(pixels, pixels + n);
    if (top >= num_colors) throw GIFException(msg::kColorNotInTable);
  }

  out.push_back(static_cast<std::uint8_t>(bits_per_pixel_));
  TGIFWriter writer(out);
  writer_ = &writer;
  if (has_pixels) CompressPixels();
  OutputEnd();
  writer.Flush();
  writer_ = nullptr;
  out.push_back(0);
}

void TGIFEncoder::OutputEnd() {
  Output(end_code_);
  if (bucket_bits_ > 0) writer_->WriteByte(static_cast<std::uint8_t>(bucket_));
  bucket_ = 0;
  bucket_bits_ = 0;
}

bool TGIFEncoder::NextSpan(const std::uint8_t*& begin, const std::uint8_t*& end) {
  const std::size_t w = static_cast<std::size_t>(width_);
  if (!interlaced_) {
    if (started_) return false;
    started_ = true;
    begin = pixels_;
    end = pixels_ + w * static_cast<std::size_t>(height_);
    return true;
  }
  if (started_) {
    row_ += kPassStep[pass_];
    // A pass whose first row lies beyond the picture is skipped.
    while (row_ >= height_) {
      if (++pass_ >= 4) return false;
      row_ = kPassStart[pass_];
    }
  }
  started_ = true;
  begin = pixels_ + static_cast<std::size_t>(row_) * w;
  end = begin + w;
  return true;
}

}  // namespace rf::gif
