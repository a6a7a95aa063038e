// A text of bounded length stored in place: the character entries live in
// static storage and loading must not allocate per entry. Longer texts are
// cut to their first N characters without notice.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace rf::chardata {

template <std::size_t N>
class FixedText {
  static_assert(N < 256, "length is kept in one byte");

 public:
  static constexpr std::size_t kCapacity = N;

  FixedText() = default;
  explicit FixedText(std::string_view s) { Assign(s); }

  void Assign(std::string_view s) {
    len_ = static_cast<unsigned char>(std::min(s.size(), N));
    std::copy_n(s.data(), len_, data_);
  }
  void Clear() { len_ = 0; }

  std::string_view View() const { return {data_, len_}; }
  std::string Str() const { return std::string(View()); }
  std::size_t Size() const { return len_; }
  bool Empty() const { return len_ == 0; }

  friend bool operator==(const FixedText& a, std::string_view b) { return a.View() == b; }

 private:
  char data_[N] = {};
  unsigned char len_ = 0;
};

}  // namespace rf::chardata
