// Every English text of the codec in one place: errors (GIFException
// messages), warnings (handed to TGIFImage::OnWarning) and progress texts.
// Code and tests refer to the names; tests/gif_read pins the texts.
#pragma once

#include <string>

namespace rf::gif::msg {

// Reading.
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

// Reading: warnings.
inline constexpr const char* kUnknownBlock = "Unknown GIF block type";
inline constexpr const char* kExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* kBitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* kInvalidTrailer = "Invalid Image trailer";
inline constexpr const char* kInvalidColorIndex = "Invalid color index";

// Writing.
inline constexpr const char* kUnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* kColorNotInTable = "Color not in color table";
inline constexpr const char* kInvalidStreamOperation = "Invalid stream operation";

// Colour tables, bitmaps and reduction.
inline constexpr const char* kColorTableOverflow = "Color table overflow";
inline constexpr const char* kNoColorTable = "No global or local color table defined";
inline constexpr const char* kInvalidDimensions = "Invalid image dimensions";
inline constexpr const char* kUnsupportedBitmapFormat = "Unsupported bitmap format";
inline constexpr const char* kScanLineOutOfRange = "Scan line index out of range";
inline constexpr const char* kUnsupportedPixelFormat = "Unsupported PixelFormat";
inline constexpr const char* kInvalidReductionMethod = "Invalid reduction method";
inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
inline constexpr const char* kUnsupportedClipboardFormat = "Unsupported clipboard format";

// Files: the text, then the path in quotes (WithPath).
inline constexpr const char* kCannotOpenFile = "Cannot open file";
inline constexpr const char* kCannotCreateFile = "Cannot create file";
inline constexpr const char* kCannotWriteFile = "Cannot write file";
inline std::string WithPath(const char* text, const std::string& path) {
  return std::string(text) + " \"" + path + "\"";
}

// Progress.
inline constexpr const char* kLoading = "Loading...";
inline constexpr const char* kSaving = "Saving...";
inline constexpr const char* kRendering = "Rendering...";
inline constexpr const char* kConverting = "Converting...";
inline constexpr const char* kOptimizing = "Optimizing...";

}  // namespace rf::gif::msg
