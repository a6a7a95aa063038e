// Base of the two pixel coders. It owns what both share: the minimum code size
// byte, the bit bucket that packs variable-size codes into bytes, the order in
// which pixels are visited (top to bottom, or the four interlace passes) and
// the sub-block framing of the output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gif/base/gifsettings.h"
#include "gif/write/gifwriter.h"

namespace rf::gif {

class TGIFEncoder {
 public:
  static constexpr int kMaxCodeSize = 12;

  virtual ~TGIFEncoder() = default;

  // Appends the minimum code size byte, the coded pixels in data sub-blocks
  // and the 0 terminator to out. Every pixel must be below num_colors, else
  // "Color not in color table" is raised. pixels holds width × height bytes,
  // rows top to bottom.
  void Compress(std::vector<std::uint8_t>& out, int bits_per_pixel, int num_colors,
                const std::uint8_t* pixels, bool interlaced, int height, int width);

 protected:
  // Emits the codes of all pixels, starting with a clear code; the base adds
  // the end code.
  virtual void CompressPixels() = 0;

  // The next stretch of pixels in coding order: a row when interlaced, else
  // the whole buffer. False when all pixels were handed out.
  bool NextSpan(const std::uint8_t*& begin, const std::uint8_t*& end);

  void Output(unsigned code) {
    bucket_ |= static_cast<std::uint32_t>(code) << bucket_bits_;
    bucket_bits_ += code_size_;
    while (bucket_bits_ >= 8) {
      writer_->WriteByte(static_cast<std::uint8_t>(bucket_));
      bucket_ >>= 8;
      bucket_bits_ -= 8;
    }
  }

  int bits_per_pixel_ = 2;
  int num_colors_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool interlaced_ = false;
  int initial_code_size_ = 3;
  int code_size_ = 3;
  unsigned max_code_ = 7;
  unsigned clear_code_ = 4;
  unsigned end_code_ = 5;
  unsigned first_free_code_ = 6;
  bool just_cleared_ = false;

 private:
  void OutputEnd();

  TGIFWriter* writer_ = nullptr;
  const std::uint8_t* pixels_ = nullptr;
  std::uint32_t bucket_ = 0;
  int bucket_bits_ = 0;
  int row_ = 0;
  int pass_ = 0;
  bool started_ = false;
};

}  // namespace rf::gif
