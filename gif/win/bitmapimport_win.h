// Making GIF frames of the system's pictures: bitmaps of every depth, icons
// and enhanced metafiles, and a plain bitmap on the clipboard.
#pragma once

#include <windows.h>

#include "framework/graphic.h"
#include "gif/base/palette.h"
#include "gif/import/bitmapimport.h"
#include "gif/reduce/pixelbitmap.h"

namespace rf::gif {

// The default palette's 20 static colours and the halftone palette of the
// screen, as the system hands them out.
SystemPalettes PlatformPalettes();

// The bitmap's pixels: 1, 4 and 8 bits with their colour table, deeper
// bitmaps as 24 bits. Raises "Bitmap image is not valid" when the handle
// cannot be read, "Unsupported bitmap format" for another depth. A palette
// handle, when given, supplies the colours of a device-dependent bitmap of
// 8 bits or less.
PixelBitmap ReadBitmapHandle(HBITMAP bitmap, HPALETTE palette = nullptr);

// The frame assignments of the system's pictures. Bitmaps of 1, 4 and 8 bits
// keep their palettes; deeper ones are reduced with the image's options and
// the platform's palettes. An icon's mask, and for a metafile the pixels
// that differ when it is drawn on white and on black, become transparent.
// A null handle (nothing) clears the frame.
void AssignBitmapHandle(TGIFSubImage& frame, HBITMAP bitmap, HPALETTE palette = nullptr);
void AssignIcon(TGIFSubImage& frame, HICON icon);
void AssignMetafile(TGIFSubImage& frame, HENHMETAFILE metafile);
// Any other picture of the framework, drawn at its own size like a
// metafile; an empty picture clears the frame.
void AssignGraphic(TGIFSubImage& frame, fw::Graphic& graphic);

// Replaces the image's content with the plain bitmap on the clipboard
// (CF_BITMAP with CF_PALETTE; the system offers a CF_DIB as CF_BITMAP too). Raises "Unsupported
// clipboard format" when the clipboard holds no bitmap.
void LoadBitmapFromClipboard(TGIFImage& image);

}  // namespace rf::gif
