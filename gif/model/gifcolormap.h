// Colour tables: the global one of the logical screen and the local one of a
// frame. Entries are RGB triples; a colour value is red + green·256 +
// blue·65536 as the drawing code uses it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gif/base/gifcolor.h"
#include "gif/model/gifitem.h"

namespace rf::gif {

class TGIFHeader;

class TGIFColorMap {
 public:
  static constexpr int kMaxColors = 256;

  TGIFColorMap() = default;
  virtual ~TGIFColorMap() = default;
  TGIFColorMap(const TGIFColorMap&) = delete;
  TGIFColorMap& operator=(const TGIFColorMap&) = delete;

  // Handed to the owning picture.
  virtual void Warning(TGIFSeverity severity, const std::string& message) = 0;
  // Drops the palettes made from this map.
  virtual void Changed() = 0;

  int Count() const { return count_; }
  int Capacity() const { return static_cast<int>(colors_.size()); }
  bool Empty() const { return count_ == 0; }
  // The map is sorted by importance.
  bool Optimized() const { return optimized_; }
  void SetOptimized(bool optimized) { optimized_ = optimized; }

  const TGIFColor& operator[](int index) const { return colors_[static_cast<std::size_t>(index)]; }
  TGIFColor& operator[](int index) { return colors_[static_cast<std::size_t>(index)]; }
  std::span<const TGIFColor> Colors() const {
    return {colors_.data(), static_cast<std::size_t>(count_)};
  }
  std::uint32_t ColorValue(int index) const;

  void Clear();
  // Sets the number of entries (0 to 256), growing the capacity as needed;
  // new entries are black.
  void SetCount(int count);
  // Appends a colour and answers its index; a full map raises GIFException.
  int Add(const TGIFColor& color);
  // Reads count RGB triples exactly.
  void LoadFromStream(GIFInputStream& in, int count);

  // The capacity that holds count entries: at least 16, above that in steps
  // of 32, at most 256.
  static int CapacityFor(int count);

 private:
  std::vector<TGIFColor> colors_;  // size() is the capacity
  int count_ = 0;
  bool optimized_ = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
 public:
  explicit TGIFGlobalColorMap(TGIFHeader* header) : header_(header) {}
  void Warning(TGIFSeverity severity, const std::string& message) override;
  void Changed() override;

 private:
  TGIFHeader* header_;
};

class TGIFLocalColorMap : public TGIFColorMap {
 public:
  explicit TGIFLocalColorMap(TGIFSubImage* frame) : frame_(frame) {}
  void Warning(TGIFSeverity severity, const std::string& message) override;
  void Changed() override;

 private:
  TGIFSubImage* frame_;
};

}  // namespace rf::gif
