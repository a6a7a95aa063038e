// The extension blocks of GIF89a as the picture keeps them, the class
// descriptors that stand in for the extension classes, and the two
// registries that map labels and application identifiers to classes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gif/model/gifitem.h"

namespace rf::gif {

class TGIFExtension;

// An extension class: what the registries hold and what reading creates.
struct TGIFExtensionClass {
  const char* Name;
  std::uint8_t Label;
  std::unique_ptr<TGIFExtension> (*Create)(TGIFSubImage* frame);
  // The class that reads the extension whose bytes follow the label (the
  // stream stands behind the label; the caller restores the position
  // afterwards). A class that needs no refinement answers itself; nullptr
  // means no class fits.
  const TGIFExtensionClass* (*Refine)(const TGIFExtensionClass& self, GIFInputStream& in);
};

// Answers the class itself: the refinement of every class but the
// application extension.
const TGIFExtensionClass* RefineToSelf(const TGIFExtensionClass& self, GIFInputStream& in);

class TGIFExtension : public TGIFItem {
 public:
  static constexpr std::uint8_t kIntroducer = 0x21;

  explicit TGIFExtension(TGIFSubImage* frame);
  TGIFSubImage* Frame() const { return frame_; }

  int Version() const override { return gv89a; }
  virtual const TGIFExtensionClass& Class() const = 0;
  std::uint8_t Label() const { return Class().Label; }

  // Reads the introducer and the label, checks them, then the body.
  void LoadFromStream(GIFInputStream& in) override;

 protected:
  virtual void LoadBody(GIFInputStream& in) = 0;

 private:
  TGIFSubImage* frame_;
};

// Data sub-blocks read as text lines: each line is one sub-block's bytes up
// to its first zero byte.
void ReadLines(GIFInputStream& in, std::vector<std::string>& lines);

class TGIFGraphicControlExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();

  // Becomes the frame's graphic control extension when the frame has none.
  explicit TGIFGraphicControlExtension(TGIFSubImage* frame);
  // Clears the frame's transparent flag when the transparent bit is set,
  // and the frame's link when it is the linked one.
  ~TGIFGraphicControlExtension() override;

  const TGIFExtensionClass& Class() const override { return StaticClass(); }
  void SaveToStream(ByteVector& out) override;

  // The 6 bytes as read: block size, packed byte, delay (2), transparent
  // colour index, terminator.
  std::array<std::uint8_t, 6>& Block() { return block_; }
  const std::array<std::uint8_t, 6>& Block() const { return block_; }

  std::uint8_t Packed() const { return block_[1]; }
  bool Transparent() const { return (block_[1] & 0x01) != 0; }
  bool UserInput() const { return (block_[1] & 0x02) != 0; }
  int Disposal() const { return (block_[1] >> 2) & 0x07; }
  std::uint16_t Delay() const { return static_cast<std::uint16_t>(block_[2] | (block_[3] << 8)); }
  std::uint8_t TransparentColorIndex() const { return block_[4]; }

  void SetTransparent(bool on);
  void SetDisposal(int disposal);
  void SetDelay(std::uint16_t delay);
  void SetTransparentColorIndex(std::uint8_t index) { block_[4] = index; }

 protected:
  void LoadBody(GIFInputStream& in) override;

 private:
  std::array<std::uint8_t, 6> block_ = {4, 0, 0, 0, 0, 0};
};

class TGIFTextExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  using TGIFExtension::TGIFExtension;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }
  void SaveToStream(ByteVector& out) override;

  // Block size (12 when created), then grid left, top, width, height (16
  // bits each), cell width, cell height, foreground and background index.
  std::array<std::uint8_t, 13>& Header() { return header_; }
  const std::array<std::uint8_t, 13>& Header() const { return header_; }
  std::uint16_t GridLeft() const { return Word(1); }
  std::uint16_t GridTop() const { return Word(3); }
  std::uint16_t GridWidth() const { return Word(5); }
  std::uint16_t GridHeight() const { return Word(7); }
  std::uint8_t CellWidth() const { return header_[9]; }
  std::uint8_t CellHeight() const { return header_[10]; }
  std::uint8_t ForegroundColorIndex() const { return header_[11]; }
  std::uint8_t BackgroundColorIndex() const { return header_[12]; }

  std::vector<std::string>& Text() { return text_; }
  const std::vector<std::string>& Text() const { return text_; }

 protected:
  void LoadBody(GIFInputStream& in) override;

 private:
  std::uint16_t Word(int at) const {
    return static_cast<std::uint16_t>(header_[static_cast<std::size_t>(at)] |
                                      (header_[static_cast<std::size_t>(at) + 1] << 8));
  }
  std::array<std::uint8_t, 13> header_ = {12};
  std::vector<std::string> text_;
};

class TGIFCommentExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  using TGIFExtension::TGIFExtension;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }
  void SaveToStream(ByteVector& out) override;

  std::vector<std::string>& Comment() { return comment_; }
  const std::vector<std::string>& Comment() const { return comment_; }

 protected:
  void LoadBody(GIFInputStream& in) override;

 private:
  std::vector<std::string> comment_;
};

using TGIFApplicationIdentifier = std::array<std::uint8_t, 11>;

// The application extension: an 8-byte application identifier and a 3-byte
// authentication code. The identifier decides the class that reads the data
// (see Refine in the .cpp); this base reads the identifier only.
class TGIFApplicationExtension : public TGIFExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  using TGIFExtension::TGIFExtension;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }
  void SaveToStream(ByteVector& out) override;

  TGIFApplicationIdentifier& Identifier() { return identifier_; }
  const TGIFApplicationIdentifier& Identifier() const { return identifier_; }
  std::string IdentifierText() const;  // the 11 bytes as they are

  virtual void WriteData(ByteVector& out);
  // The data sub-blocks behind the identifier. This base only meets block
  // sizes below 10 (see the class refinement), where reading fails before
  // any data; should it be reached anyway, it passes the sub-blocks over.
  virtual void ReadData(GIFInputStream& in);

 protected:
  void LoadBody(GIFInputStream& in) override;

 private:
  TGIFApplicationIdentifier identifier_ = {};
};

// "NETSCAPE2.0" and "ANIMEXTS1.0": the loop count of an animation and the
// buffer size.
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  explicit TGIFAppExtNSLoop(TGIFSubImage* frame);
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  std::uint16_t LoopCount() const { return loop_count_; }
  void SetLoopCount(std::uint16_t count) { loop_count_ = count; }
  std::uint32_t BufferSize() const { return buffer_size_; }
  void SetBufferSize(std::uint32_t size) { buffer_size_ = size; }

  void WriteData(ByteVector& out) override;
  void ReadData(GIFInputStream& in) override;

 private:
  std::uint16_t loop_count_ = 0;
  std::uint32_t buffer_size_ = 0;
};

// One data sub-block: its size byte is Data.size().
struct TGIFBlock {
  std::vector<std::uint8_t> Data;
};

// Any application extension without a class of its own: its data
// sub-blocks are kept as they are.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass& StaticClass();
  using TGIFApplicationExtension::TGIFApplicationExtension;
  const TGIFExtensionClass& Class() const override { return StaticClass(); }

  std::vector<TGIFBlock>& Blocks() { return blocks_; }
  const std::vector<TGIFBlock>& Blocks() const { return blocks_; }

  void WriteData(ByteVector& out) override;
  void ReadData(GIFInputStream& in) override;

 private:
  std::vector<TGIFBlock> blocks_;
};

// The extension registry: (label, class) pairs; lookups scan from the last
// registration back, so a later registration of a label takes precedence.
// Built on first use with the four standard labels.
void RegisterExtension(std::uint8_t label, const TGIFExtensionClass& cls);
// Removes the latest registration of the class for the label, if any.
void UnregisterExtension(std::uint8_t label, const TGIFExtensionClass& cls);
const TGIFExtensionClass* FindExtension(std::uint8_t label);

// The application registry: (11-byte identifier, class) pairs, compared as
// raw bytes, latest registration first. Holds "NETSCAPE2.0" and
// "ANIMEXTS1.0" for TGIFAppExtNSLoop.
void RegisterAppExtension(const TGIFApplicationIdentifier& identifier,
                          const TGIFExtensionClass& cls);
void UnregisterAppExtension(const TGIFApplicationIdentifier& identifier,
                            const TGIFExtensionClass& cls);
const TGIFExtensionClass* FindAppExtension(std::span<const std::uint8_t, 11> identifier);
TGIFApplicationIdentifier MakeAppIdentifier(const char (&text)[12]);

}  // namespace rf::gif
