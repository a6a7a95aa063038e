#include "gif_test_streams.h"

#include <map>

namespace rf::gif::test {

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Str(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

static void Word(Bytes& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

Bytes Header(int width, int height, int colors, std::uint8_t background,
             const std::string& signature) {
  Bytes out = Str(signature);
  Word(out, width);
  Word(out, height);
  int bits = 0;
  while ((2 << bits) < colors) ++bits;
  out.push_back(static_cast<std::uint8_t>(colors > 0 ? 0x80 | 0x70 | bits : 0));
  out.push_back(background);
  out.push_back(0);
  for (int i = 0; i < colors; ++i) {
    for (int c = 0; c < 3; ++c) out.push_back(static_cast<std::uint8_t>(i));
  }
  return out;
}

Bytes Descriptor(int left, int top, int width, int height, std::uint8_t packed) {
  Bytes out{0x2C};
  Word(out, left);
  Word(out, top);
  Word(out, width);
  Word(out, height);
  out.push_back(packed);
  return out;
}

Bytes SubBlocks(const Bytes& data, std::size_t block_size) {
  Bytes out;
  for (std::size_t i = 0; i < data.size(); i += block_size) {
    std::size_t n = std::min(block_size, data.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
               data.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
  return out;
}

Bytes GraphicControl(int disposal, int delay, bool transparent, std::uint8_t index) {
  Bytes out{0x21, 0xF9, 4, static_cast<std::uint8_t>((disposal << 2) | (transparent ? 1 : 0))};
  Word(out, delay);
  out.push_back(index);
  out.push_back(0);
  return out;
}

Bytes Comment(const std::string& text) {
  return Concat({{0x21, 0xFE}, SubBlocks(Str(text))});
}

Bytes Loop(int count, const std::string& id) {
  Bytes out{0x21, 0xFF, 11};
  Bytes name = Str(id);
  out.insert(out.end(), name.begin(), name.end());
  out.insert(out.end(), {3, 1});
  Word(out, count);
  out.push_back(0);
  return out;
}

void CodePacker::Put(int code, int bits) {
  acc_ |= static_cast<std::uint32_t>(code) << count_;
  count_ += bits;
  while (count_ >= 8) {
    bytes_.push_back(static_cast<std::uint8_t>(acc_));
    acc_ >>= 8;
    count_ -= 8;
  }
}

Bytes CodePacker::Finish() const {
  Bytes out = bytes_;
  if (count_ > 0) out.push_back(static_cast<std::uint8_t>(acc_));
  return out;
}

Bytes Lzw(const Bytes& pixels, const EncodeOptions& options) {
  const int min = options.min_code_size;
  const int clear = 1 << min;
  const int end = clear + 1;
  CodePacker packer;
  std::map<std::pair<int, int>, int> table;
  int next = 0;  // the encoder's next entry
  // The code width follows the decoder, which defines each entry one code
  // later than the encoder and widens once its table reaches 2^width.
  int size = min + 1;
  int decoder_next = 0;
  int decoder_limit = 0;
  bool first = true;
  int since_clear = 0;
  auto reset = [&] {
    packer.Put(clear, size);
    table.clear();
    next = clear + 2;
    size = min + 1;
    decoder_next = clear + 2;
    decoder_limit = 2 * clear;
    first = true;
    since_clear = 0;
  };
  auto emit = [&](int code) {
    packer.Put(code, size);
    ++since_clear;
    if (first) {
      first = false;
    } else if (decoder_next < 4096) {
      ++decoder_next;
      if (decoder_next >= decoder_limit && decoder_limit < 4096) {
        decoder_limit *= 2;
        ++size;
      }
    }
  };
  reset();
  int prefix = -1;
  for (std::uint8_t pixel : pixels) {
    if (prefix < 0) {
      prefix = pixel;
      continue;
    }
    auto it = table.find({prefix, pixel});
    if (it != table.end()) {
      prefix = it->second;
      continue;
    }
    emit(prefix);
    if (next < 4096) {
      table[{prefix, pixel}] = next++;
    } else if (!options.no_clear_when_full) {
      reset();
    }
    if (options.clear_every > 0 && since_clear >= options.clear_every) reset();
    prefix = pixel;
  }
  if (prefix >= 0) emit(prefix);
  if (options.end_code) packer.Put(end, size);
  Bytes out{static_cast<std::uint8_t>(min)};
  Bytes blocks = SubBlocks(packer.Finish(), options.block_size);
  out.insert(out.end(), blocks.begin(), blocks.end());
  return out;
}

Bytes SingleFrame(int width, int height, const Bytes& pixels, const EncodeOptions& options,
                  bool interlaced) {
  int colors = 1 << std::max(1, options.min_code_size);
  if (colors > 256) colors = 256;
  return Concat({Header(width, height, colors),
                 Descriptor(0, 0, width, height, interlaced ? 0x40 : 0),
                 Lzw(pixels, options),
                 {0x3B}});
}

}  // namespace rf::gif::test
