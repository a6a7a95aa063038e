// Pictures as the framework's picture controls see them: something with a
// size that draws itself into a rectangle of a canvas. Formats register a
// class name and a factory; stored pictures name their class in front of
// their data, so the framework can build them without knowing any format.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace rf::fw {

// A device context to draw on, with a change notification for drawings
// that alter it behind the owner's back (transparent blits, painters).
class Canvas {
 public:
  explicit Canvas(HDC dc) : dc_(dc) {}
  HDC Handle() const { return dc_; }
  void SetOnChange(std::function<void()> f) { on_change_ = std::move(f); }
  void Changed() {
    if (on_change_) on_change_();
  }

 private:
  HDC dc_;
  std::function<void()> on_change_;
};

class Graphic {
 public:
  virtual ~Graphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  // Draws the picture into the rectangle (stretched, unless the picture's
  // own options say otherwise).
  virtual void Draw(Canvas& canvas, const RECT& rect) = 0;
  // Reads the picture from a stream of its own format; throws on bad data.
  virtual void LoadFromBytes(std::span<const std::uint8_t> data) = 0;
};

// A stored picture names a class that no format has registered.
class EUnknownGraphicClass : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using GraphicFactory = std::function<std::unique_ptr<Graphic>()>;

// The picture registry: classes by name, file formats by extension.
void RegisterGraphicClass(const std::string& class_name, GraphicFactory factory);
void UnregisterGraphicClass(const std::string& class_name);
void RegisterFileFormat(const std::string& extension, const std::string& description,
                        const std::string& class_name);
// Creates a picture of a registered class; nullptr when none is registered.
std::unique_ptr<Graphic> CreateGraphic(const std::string& class_name);
// Class name registered for a file extension (case-insensitive), or "".
std::string GraphicClassForExtension(const std::string& extension);

// A stored picture property: the class name as a length-prefixed string
// (one length byte), then the picture's own stream. Throws on a class that
// is not registered or a truncated property.
std::unique_ptr<Graphic> LoadPictureProperty(std::span<const std::uint8_t> data);
// The resource type the module's pictures are stored as (RT_RCDATA).
inline const char* const kPictureResourceType = MAKEINTRESOURCEA(10);
// Reads a picture property from an RCDATA resource of a module.
std::unique_ptr<Graphic> LoadPictureResource(HMODULE module, const char* resource_name);
// The same for a picture a module may lack: nullptr when the resource is
// missing (a module built without its pictures) or its class is not
// registered (a module without the GIF drawing), so the control stays empty.
std::unique_ptr<Graphic> LoadOptionalPictureResource(HMODULE module, const char* resource_name);

}  // namespace rf::fw
