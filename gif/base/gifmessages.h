// The codec's English texts for reading: errors (GIFException messages) and
// warnings (handed to TGIFImage::OnWarning).
#pragma once

namespace rf::gif::msg {

inline constexpr const char* kInvalidSignature = "Invalid GIF signature";
inline constexpr const char* kPrematureEnd = "Premature end of data";
inline constexpr const char* kUnknownExtension = "Unknown extension type";
inline constexpr const char* kUnsupportedAppBlockSize =
    "Unsupported Application Extension block size";
inline constexpr const char* kInvalidData = "Invalid GIF data";
inline constexpr const char* kCircularTable = "Circular decoder table entry";
inline constexpr const char* kInvalidIntroducer = "Invalid extension introducer";
inline constexpr const char* kExtensionMismatch =
    "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* kClearCodeTooLarge = "ClearCode too large";
inline constexpr const char* kImageTooLarge = "Image too large to decode";
inline constexpr const char* kColorTableEmpty = "Color table is empty";

inline constexpr const char* kUnknownBlock = "Unknown GIF block type";
inline constexpr const char* kExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* kBitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* kInvalidTrailer = "Invalid Image trailer";
inline constexpr const char* kInvalidColorIndex = "Invalid color index";

inline constexpr const char* kLoading = "Loading...";

}  // namespace rf::gif::msg
