// The codec's texts are what users and stored expectations see; every other
// test compares against the names, so this one pins the words themselves.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "gif/base/gifmessages.h"

namespace rf::gif {
namespace {

TEST(Messages, TextsAreFixed) {
  const std::pair<const char*, const char*> texts[] = {
      {msg::kInvalidSignature, "Invalid GIF signature"},
      {msg::kPrematureEnd, "Premature end of data"},
      {msg::kUnknownExtension, "Unknown extension type"},
      {msg::kUnsupportedAppBlockSize, "Unsupported Application Extension block size"},
      {msg::kInvalidData, "Invalid GIF data"},
      {msg::kCircularTable, "Circular decoder table entry"},
      {msg::kInvalidIntroducer, "Invalid extension introducer"},
      {msg::kExtensionMismatch,
       "Internal error: Extension Instance does not match Extension Label"},
      {msg::kClearCodeTooLarge, "ClearCode too large"},
      {msg::kImageTooLarge, "Image too large to decode"},
      {msg::kColorTableEmpty, "Color table is empty"},
      {msg::kUnknownBlock, "Unknown GIF block type"},
      {msg::kExceedsScreen, "Image exceeds Logical Screen size"},
      {msg::kBitBufferUnderrun, "Decoder bit buffer under-run"},
      {msg::kInvalidTrailer, "Invalid Image trailer"},
      {msg::kInvalidColorIndex, "Invalid color index"},
      {msg::kUnsupportedVersion, "Unsupported GIF version"},
      {msg::kColorNotInTable, "Color not in color table"},
      {msg::kInvalidStreamOperation, "Invalid stream operation"},
      {msg::kColorTableOverflow, "Color table overflow"},
      {msg::kNoColorTable, "No global or local color table defined"},
      {msg::kInvalidDimensions, "Invalid image dimensions"},
      {msg::kUnsupportedBitmapFormat, "Unsupported bitmap format"},
      {msg::kScanLineOutOfRange, "Scan line index out of range"},
      {msg::kUnsupportedPixelFormat, "Unsupported PixelFormat"},
      {msg::kInvalidReductionMethod, "Invalid reduction method"},
      {msg::kBitmapNotValid, "Bitmap image is not valid"},
      {msg::kUnsupportedClipboardFormat, "Unsupported clipboard format"},
      {msg::kLoading, "Loading..."},
      {msg::kSaving, "Saving..."},
      {msg::kRendering, "Rendering..."},
      {msg::kConverting, "Converting..."},
      {msg::kOptimizing, "Optimizing..."},
  };
  for (const auto& [name, text] : texts) EXPECT_STREQ(name, text);
  EXPECT_EQ(msg::WithPath(msg::kCannotOpenFile, "a.gif"), "Cannot open file \"a.gif\"");
  EXPECT_EQ(msg::WithPath(msg::kCannotCreateFile, "a.gif"), "Cannot create file \"a.gif\"");
  EXPECT_EQ(msg::WithPath(msg::kCannotWriteFile, "a.gif"), "Cannot write file \"a.gif\"");
}

}  // namespace
}  // namespace rf::gif
