// The form in which the dialogs' layouts store a picture: the picture
// class's name as a length-prefixed string, then the picture's own stream.
// Used by the tools that make the stored pictures.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace rf::resources {

inline constexpr std::string_view kGifPictureClass = "TGIFImage";

inline std::vector<std::uint8_t> PictureProperty(std::span<const std::uint8_t> stream,
                                                 std::string_view class_name = kGifPictureClass) {
  std::vector<std::uint8_t> out;
  out.reserve(1 + class_name.size() + stream.size());
  out.push_back(static_cast<std::uint8_t>(class_name.size()));
  out.insert(out.end(), class_name.begin(), class_name.end());
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

}  // namespace rf::resources
