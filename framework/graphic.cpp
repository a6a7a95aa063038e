#include "framework/graphic.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>
#include <vector>

namespace rf::fw {
namespace {

struct Registry {
  std::map<std::string, GraphicFactory> classes;
  struct Format {
    std::string extension, description, class_name;
  };
  std::vector<Format> formats;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

void RegisterGraphicClass(const std::string& class_name, GraphicFactory factory) {
  TheRegistry().classes[class_name] = std::move(factory);
}

void UnregisterGraphicClass(const std::string& class_name) {
  auto& r = TheRegistry();
  r.classes.erase(class_name);
  std::erase_if(r.formats, [&](const Registry::Format& f) { return f.class_name == class_name; });
}

void RegisterFileFormat(const std::string& extension, const std::string& description,
                        const std::string& class_name) {
  auto& formats = TheRegistry().formats;
  std::erase_if(formats,
                [&](const Registry::Format& f) { return Lower(f.extension) == Lower(extension); });
  formats.push_back({extension, description, class_name});
}

std::unique_ptr<Graphic> CreateGraphic(const std::string& class_name) {
  const auto& classes = TheRegistry().classes;
  const auto it = classes.find(class_name);
  if (it == classes.end()) return nullptr;
  return it->second();
}

std::string GraphicClassForExtension(const std::string& extension) {
  for (const auto& f : TheRegistry().formats)
    if (Lower(f.extension) == Lower(extension)) return f.class_name;
  return {};
}

std::unique_ptr<Graphic> LoadPictureProperty(std::span<const std::uint8_t> data) {
  if (data.empty()) throw std::runtime_error("Invalid picture property");
  const std::size_t length = data[0];
  if (data.size() < 1 + length) throw std::runtime_error("Invalid picture property");
  const std::string class_name(reinterpret_cast<const char*>(data.data() + 1), length);
  auto graphic = CreateGraphic(class_name);
  if (!graphic) throw EUnknownGraphicClass("Unknown picture format " + class_name);
  graphic->LoadFromBytes(data.subspan(1 + length));
  return graphic;
}

std::unique_ptr<Graphic> LoadPictureResource(HMODULE module, const char* resource_name) {
  HRSRC info = FindResourceA(module, resource_name, kPictureResourceType);
  if (!info) throw std::runtime_error(std::string("Resource ") + resource_name + " not found");
  HGLOBAL loaded = LoadResource(module, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, info);
  if (!bytes) throw std::runtime_error(std::string("Resource ") + resource_name + " not found");
  return LoadPictureProperty({static_cast<const std::uint8_t*>(bytes), size});
}

std::unique_ptr<Graphic> LoadOptionalPictureResource(HMODULE module, const char* resource_name) {
  if (!FindResourceA(module, resource_name, kPictureResourceType)) return nullptr;
  try {
    return LoadPictureResource(module, resource_name);
  } catch (const EUnknownGraphicClass&) {
    return nullptr;
  }
}

}  // namespace rf::fw
