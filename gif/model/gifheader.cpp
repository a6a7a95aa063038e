#include "gif/model/gifheader.h"

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"

namespace rf::gif {
namespace {

// The first three bytes, up to a zero byte, read "GIF" in any case. The
// version bytes are not looked at.
bool IsGifSignature(const std::uint8_t* sig) {
  static constexpr std::uint8_t kGif[3] = {'G', 'I', 'F'};
  for (int i = 0; i < 3; ++i) {
    std::uint8_t c = sig[i];
    if (c >= 'a' && c <= 'z') c = static_cast<std::uint8_t>(c - 'a' + 'A');
    if (c != kGif[i]) return false;
  }
  return true;
}

}  // namespace

void TGIFHeader::Clear() {
  color_map_.Clear();
  descriptor_.Width = 0;
  descriptor_.Height = 0;
  descriptor_.Packed = 0;  // no global table, nothing else to describe
}

void TGIFHeader::LoadFromStream(GIFInputStream& in) {
  const std::size_t start = in.Position();
  std::uint8_t sig[6];
  in.ReadExact(sig, 6);
  if (!IsGifSignature(sig)) {
    // Some writers put 4 bytes in front of the signature.
    in.Seek(start);
    in.Skip(4);
    in.ReadExact(sig, 6);
    if (!IsGifSignature(sig)) throw GIFException(msg::kInvalidSignature);
  }
  std::uint8_t d[7];
  in.ReadExact(d, 7);
  descriptor_.Width = static_cast<std::uint16_t>(d[0] | (d[1] << 8));
  descriptor_.Height = static_cast<std::uint16_t>(d[2] | (d[3] << 8));
  descriptor_.Packed = d[4];
  descriptor_.BackgroundColorIndex = d[5];
  descriptor_.AspectRatio = d[6];
  if ((descriptor_.Packed & 0x80) != 0) {
    color_map_.LoadFromStream(in, 1 << (1 + (descriptor_.Packed & 7)));
  } else {
    color_map_.Clear();
  }
}

}  // namespace rf::gif
