#include "gif/model/gifitem.h"

#include <fstream>
#include <iterator>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/gifimage.h"

namespace rf::gif {

void TGIFItem::Warning(TGIFSeverity severity, const std::string& message) {
  if (image_ != nullptr) image_->Warning(severity, message);
}

void TGIFItem::SaveToFile(const std::string& path) {
  ByteVector out;
  SaveToStream(out);
  WriteWholeFile(path, out);
}

void TGIFItem::LoadFromFile(const std::string& path) {
  ByteVector data = ReadWholeFile(path);
  GIFInputStream in(data);
  LoadFromStream(in);
}

void TGIFList::Warning(TGIFSeverity severity, const std::string& message) {
  if (image_ != nullptr) image_->Warning(severity, message);
}

ByteVector ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw GIFException(msg::WithPath(msg::kCannotOpenFile, path));
  return ByteVector(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const ByteVector& data) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw GIFException(msg::WithPath(msg::kCannotCreateFile, path));
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!file) throw GIFException(msg::WithPath(msg::kCannotWriteFile, path));
}

}  // namespace rf::gif
