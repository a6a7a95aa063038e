// Writing the picture objects back as a GIF stream belongs to the writer;
// until it lands every object refuses, so nothing half-written can come out.
#include "gif/gifimage.h"

namespace rf::gif {
namespace {
[[noreturn]] void NotAvailable() {
  throw GIFException("Writing GIF streams is not available");
}
}  // namespace

void TGIFHeader::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFSubImage::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFExtensionList::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFImageList::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFTrailer::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFGraphicControlExtension::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFTextExtension::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFCommentExtension::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFApplicationExtension::SaveToStream(ByteVector&) {
  NotAvailable();
}
void TGIFApplicationExtension::WriteData(ByteVector&) {
  NotAvailable();
}
void TGIFAppExtNSLoop::WriteData(ByteVector&) {
  NotAvailable();
}
void TGIFUnknownAppExtension::WriteData(ByteVector&) {
  NotAvailable();
}
void TGIFImage::SaveToStream(ByteVector&) {
  NotAvailable();
}

}  // namespace rf::gif
