#include "gif/model/gifextensions.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gif/base/gifexception.h"
#include "gif/base/gifmessages.h"
#include "gif/model/gifsubimage.h"

namespace rf::gif {

static_assert(sizeof(TGIFApplicationIdentifier) == 11);

namespace {

template <class T>
std::unique_ptr<TGIFExtension> Create(TGIFSubImage* frame) {
  return std::make_unique<T>(frame);
}

// The application extension chooses its class by the identifier behind the
// label. Of a block size below 10 nothing is known: the class itself
// answers, and its reading raises "Unsupported Application Extension block
// size". A block size of 10 takes 10 identifier bytes (no class fits when
// they are missing). A block size of 11 looks the identifier up in the
// application registry. Any other size (above 11), and an identifier cut
// short, are read as an unknown application extension: the base class has
// no reader for the data sub-blocks, and keeping them as blocks loses
// nothing (a cut identifier then fails with "Premature end of data").
const TGIFExtensionClass* RefineApplication(const TGIFExtensionClass& self, GIFInputStream& in) {
  std::uint8_t size;
  if (!in.ReadByte(size)) return &self;
  if (size < 10) return &self;
  if (size == 10) {
    std::uint8_t skipped[10];
    if (in.Read(skipped, 10) < 10) return nullptr;
    return &TGIFUnknownAppExtension::StaticClass();
  }
  TGIFApplicationIdentifier id;
  if (size > 11 || in.Read(id.data(), 11) < 11) return &TGIFUnknownAppExtension::StaticClass();
  const TGIFExtensionClass* found = FindAppExtension(id);
  return found != nullptr ? found : &TGIFUnknownAppExtension::StaticClass();
}

struct ExtensionEntry {
  std::uint8_t label;
  const TGIFExtensionClass* cls;
};

struct AppEntry {
  TGIFApplicationIdentifier id;
  const TGIFExtensionClass* cls;
};

std::vector<ExtensionEntry>& ExtensionRegistry() {
  static std::vector<ExtensionEntry> registry = {
      {0x01, &TGIFTextExtension::StaticClass()},
      {0xF9, &TGIFGraphicControlExtension::StaticClass()},
      {0xFE, &TGIFCommentExtension::StaticClass()},
      {0xFF, &TGIFApplicationExtension::StaticClass()},
  };
  return registry;
}

std::vector<AppEntry>& AppRegistry() {
  static std::vector<AppEntry> registry = {
      {MakeAppIdentifier("NETSCAPE2.0"), &TGIFAppExtNSLoop::StaticClass()},
      {MakeAppIdentifier("ANIMEXTS1.0"), &TGIFAppExtNSLoop::StaticClass()},
  };
  return registry;
}

}  // namespace

const TGIFExtensionClass* RefineToSelf(const TGIFExtensionClass& self, GIFInputStream&) {
  return &self;
}

TGIFExtension::TGIFExtension(TGIFSubImage* frame)
    : TGIFItem(frame != nullptr ? frame->Image() : nullptr), frame_(frame) {}

void TGIFExtension::LoadFromStream(GIFInputStream& in) {
  std::uint8_t head[2];
  in.ReadExact(head, 2);
  if (head[0] != kIntroducer) throw GIFException(msg::kInvalidIntroducer);
  if (head[1] != Label()) throw GIFException(msg::kExtensionMismatch);
  LoadBody(in);
}

void ReadLines(GIFInputStream& in, std::vector<std::string>& lines) {
  lines.clear();
  std::uint8_t size;
  char buffer[255];
  while (in.ReadByte(size) && size != 0) {
    in.ReadExact(buffer, size);
    lines.emplace_back(buffer, strnlen(buffer, size));
  }
}

// Graphic control extension

const TGIFExtensionClass& TGIFGraphicControlExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFGraphicControlExtension", 0xF9,
                                      &Create<TGIFGraphicControlExtension>, &RefineToSelf};
  return cls;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* frame)
    : TGIFExtension(frame) {
  if (frame != nullptr && frame->GraphicControlExtension() == nullptr) {
    frame->SetGraphicControlExtension(this);
  }
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  TGIFSubImage* frame = Frame();
  if (frame == nullptr) return;
  if (Transparent()) frame->SetTransparent(false);
  if (frame->GraphicControlExtension() == this) frame->SetGraphicControlExtension(nullptr);
}

void TGIFGraphicControlExtension::SetTransparent(bool on) {
  block_[1] = static_cast<std::uint8_t>(on ? (block_[1] | 0x01) : (block_[1] & ~0x01));
}

void TGIFGraphicControlExtension::SetDisposal(int disposal) {
  block_[1] = static_cast<std::uint8_t>((block_[1] & ~0x1C) | ((disposal & 7) << 2));
}

void TGIFGraphicControlExtension::SetDelay(std::uint16_t delay) {
  block_[2] = static_cast<std::uint8_t>(delay);
  block_[3] = static_cast<std::uint8_t>(delay >> 8);
}

void TGIFGraphicControlExtension::LoadBody(GIFInputStream& in) {
  // The size byte and the terminator are taken as they come.
  std::uint8_t block[6];
  std::size_t got = in.Read(block, 6);
  std::copy(block, block + got, block_.begin());
  if (got < 6) {
    Warning(gsWarning, msg::kPrematureEnd);
    return;
  }
  if (Transparent() && Frame() != nullptr) Frame()->SetTransparent(true);
}

// Plain text extension

const TGIFExtensionClass& TGIFTextExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFTextExtension", 0x01, &Create<TGIFTextExtension>,
                                      &RefineToSelf};
  return cls;
}

void TGIFTextExtension::LoadBody(GIFInputStream& in) {
  in.ReadExact(header_.data(), header_.size());
  ReadLines(in, text_);
}

// Comment extension

const TGIFExtensionClass& TGIFCommentExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFCommentExtension", 0xFE, &Create<TGIFCommentExtension>,
                                      &RefineToSelf};
  return cls;
}

void TGIFCommentExtension::LoadBody(GIFInputStream& in) {
  ReadLines(in, comment_);
}

// Application extensions

const TGIFExtensionClass& TGIFApplicationExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFApplicationExtension", 0xFF,
                                      &Create<TGIFApplicationExtension>, &RefineApplication};
  return cls;
}

std::string TGIFApplicationExtension::IdentifierText() const {
  return std::string(reinterpret_cast<const char*>(identifier_.data()), identifier_.size());
}

void TGIFApplicationExtension::LoadBody(GIFInputStream& in) {
  std::uint8_t size = in.ReadExactByte();
  if (size < 10) throw GIFException(msg::kUnsupportedAppBlockSize);
  if (size == 10) {
    // Ten identifier bytes; the eleventh place gets a copy of the byte
    // behind them, which stays unread.
    identifier_.fill(0);
    in.ReadExact(identifier_.data(), 11);
    in.StepBack();
  } else {
    in.ReadExact(identifier_.data(), 11);
    in.Skip(size - 11u);
  }
  ReadData(in);
}

void TGIFApplicationExtension::ReadData(GIFInputStream& in) {
  std::uint8_t size;
  while (in.ReadByte(size) && size != 0) in.Skip(size);
}

const TGIFExtensionClass& TGIFAppExtNSLoop::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFAppExtNSLoop", 0xFF, &Create<TGIFAppExtNSLoop>,
                                      &RefineToSelf};
  return cls;
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* frame) : TGIFApplicationExtension(frame) {
  Identifier() = MakeAppIdentifier("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::ReadData(GIFInputStream& in) {
  std::uint8_t size;
  while (in.ReadByte(size) && size != 0) {
    std::uint8_t id = in.ReadExactByte();
    switch (id & 7) {
      case 1:
        if (size < 3) throw GIFException(msg::kInvalidData);
        loop_count_ = in.ReadExactWord();
        in.Skip(size - 3u);
        break;
      case 2:
        if (size < 5) throw GIFException(msg::kInvalidData);
        buffer_size_ = in.ReadExactDWord();
        in.Skip(size - 5u);
        break;
      default:
        in.Skip(size - 1u);
        break;
    }
  }
}

const TGIFExtensionClass& TGIFUnknownAppExtension::StaticClass() {
  static const TGIFExtensionClass cls{"TGIFUnknownAppExtension", 0xFF,
                                      &Create<TGIFUnknownAppExtension>, &RefineToSelf};
  return cls;
}

void TGIFUnknownAppExtension::ReadData(GIFInputStream& in) {
  blocks_.clear();
  std::uint8_t size;
  while (in.ReadByte(size) && size != 0) {
    TGIFBlock block;
    block.Data.resize(size);
    in.ReadExact(block.Data.data(), size);
    blocks_.push_back(std::move(block));
  }
}

// Registries

void RegisterExtension(std::uint8_t label, const TGIFExtensionClass& cls) {
  ExtensionRegistry().push_back({label, &cls});
}

void UnregisterExtension(std::uint8_t label, const TGIFExtensionClass& cls) {
  auto& registry = ExtensionRegistry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
    if (it->label == label && it->cls == &cls) {
      registry.erase(std::next(it).base());
      return;
    }
  }
}

const TGIFExtensionClass* FindExtension(std::uint8_t label) {
  const auto& registry = ExtensionRegistry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
    if (it->label == label) return it->cls;
  }
  return nullptr;
}

void RegisterAppExtension(const TGIFApplicationIdentifier& identifier,
                          const TGIFExtensionClass& cls) {
  AppRegistry().push_back({identifier, &cls});
}

void UnregisterAppExtension(const TGIFApplicationIdentifier& identifier,
                            const TGIFExtensionClass& cls) {
  auto& registry = AppRegistry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
    if (it->id == identifier && it->cls == &cls) {
      registry.erase(std::next(it).base());
      return;
    }
  }
}

const TGIFExtensionClass* FindAppExtension(std::span<const std::uint8_t, 11> identifier) {
  const auto& registry = AppRegistry();
  for (auto it = registry.rbegin(); it != registry.rend(); ++it) {
    if (std::equal(it->id.begin(), it->id.end(), identifier.begin())) return it->cls;
  }
  return nullptr;
}

TGIFApplicationIdentifier MakeAppIdentifier(const char (&text)[12]) {
  TGIFApplicationIdentifier id;
  std::memcpy(id.data(), text, 11);
  return id;
}

}  // namespace rf::gif
