// Error-diffusion ditherers. Each walks the rows alternately left to right
// and right to left; the caller gives it the pixels of a row in the order
// of Direction() and calls NextLine() at the end of each row.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gif/reduce/colorlookup.h"

namespace rf::gif {

// Nearest colour, no diffusion: the base of every ditherer and the walk
// they share.
class TDitherEngine {
 public:
  TDitherEngine(int width, TColorLookup& lookup);
  virtual ~TDitherEngine() = default;
  TDitherEngine(const TDitherEngine&) = delete;
  TDitherEngine& operator=(const TDitherEngine&) = delete;

  // The palette index for the pixel at Column(); moves one pixel on.
  virtual std::uint8_t Dither(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // Turns the walking direction (and, in the diffusing kinds, rotates the
  // error rows).
  virtual void NextLine();

  int Direction() const { return direction_; }
  int Column() const { return column_; }
  int Width() const { return width_; }
  // First column of the present row.
  int StartColumn() const { return direction_ > 0 ? 0 : width_ - 1; }

 protected:
  int width_;
  int direction_ = 1;
  int column_ = 0;
  TColorLookup& lookup_;
};

// One weight of a kernel: dx along the walking direction, dy rows down.
struct DitherWeight {
  int dy;
  int dx;
  int weight;
};

// The diffusing kinds: the error of each channel (wanted minus chosen) is
// spread with the kernel's weights over pixels not yet visited and divided
// by the divisor when it is picked up (rounded by adding half the divisor,
// truncating toward zero); corrected values are clamped to 0..255.
class TErrorDiffusionDitherer : public TDitherEngine {
 public:
  std::uint8_t Dither(std::uint8_t red, std::uint8_t green, std::uint8_t blue) override;
  void NextLine() override;

  std::span<const DitherWeight> Weights() const { return weights_; }
  int Divisor() const { return divisor_; }

 protected:
  TErrorDiffusionDitherer(int width, TColorLookup& lookup, std::span<const DitherWeight> weights,
                          int divisor);

 private:
  std::span<const DitherWeight> weights_;
  int divisor_;
  int margin_ = 0;
  // One error row per kernel row, 3 channels a pixel, with margins so that
  // weights past either end need no test.
  std::vector<std::vector<std::int32_t>> rows_;
};

class TFloydSteinbergDitherer final : public TErrorDiffusionDitherer {
 public:
  TFloydSteinbergDitherer(int width, TColorLookup& lookup);
};

// The three kernels five wide and three rows deep.
class T5by3Ditherer : public TErrorDiffusionDitherer {
 protected:
  using TErrorDiffusionDitherer::TErrorDiffusionDitherer;
};

class TStuckiDitherer final : public T5by3Ditherer {
 public:
  TStuckiDitherer(int width, TColorLookup& lookup);
};

class TSierraDitherer final : public T5by3Ditherer {
 public:
  TSierraDitherer(int width, TColorLookup& lookup);
};

class TJaJuNiDitherer final : public T5by3Ditherer {
 public:
  TJaJuNiDitherer(int width, TColorLookup& lookup);
};

class TSteveArcheDitherer final : public TErrorDiffusionDitherer {
 public:
  TSteveArcheDitherer(int width, TColorLookup& lookup);
};

class TBurkesDitherer final : public TErrorDiffusionDitherer {
 public:
  TBurkesDitherer(int width, TColorLookup& lookup);
};

// The ditherer of a dither mode 0..6; nullptr for another mode.
std::unique_ptr<TDitherEngine> MakeDitherer(int mode, int width, TColorLookup& lookup);

}  // namespace rf::gif
