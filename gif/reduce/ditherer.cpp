#include "gif/reduce/ditherer.h"

#include <algorithm>

namespace rf::gif {

namespace {

constexpr DitherWeight kFloydSteinberg[] = {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}};

constexpr DitherWeight kStucki[] = {{0, 1, 8},  {0, 2, 4},                                    //
                                    {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2},  //
                                    {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}};

constexpr DitherWeight kSierra[] = {{0, 1, 5},  {0, 2, 3},                                    //
                                    {1, -2, 2}, {1, -1, 4}, {1, 0, 5}, {1, 1, 4}, {1, 2, 2},  //
                                    {2, -1, 2}, {2, 0, 3},  {2, 1, 2}};

constexpr DitherWeight kJarvisJudiceNinke[] = {
    {0, 1, 7},  {0, 2, 5},                                    //
    {1, -2, 3}, {1, -1, 5}, {1, 0, 7}, {1, 1, 5}, {1, 2, 3},  //
    {2, -2, 1}, {2, -1, 3}, {2, 0, 5}, {2, 1, 3}, {2, 2, 1}};

constexpr DitherWeight kSteveArche[] = {{0, 2, 32},                                        //
                                        {1, -3, 12}, {1, -1, 26}, {1, 1, 30}, {1, 3, 16},  //
                                        {2, -2, 12}, {2, 0, 26},  {2, 2, 12},              //
                                        {3, -3, 5},  {3, -1, 12}, {3, 1, 12}, {3, 3, 5}};

constexpr DitherWeight kBurkes[] = {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4},
                                    {1, 0, 8}, {1, 1, 4}, {1, 2, 2}};

std::uint8_t Clamp(int v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

}  // namespace

TDitherEngine::TDitherEngine(int width, TColorLookup& lookup)
    : width_(std::max(width, 0)), lookup_(lookup) {}

std::uint8_t TDitherEngine::Dither(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  TGIFColor chosen;
  column_ += direction_;
  return lookup_.Lookup(red, green, blue, chosen);
}

void TDitherEngine::NextLine() {
  direction_ = -direction_;
  column_ = StartColumn();
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int width, TColorLookup& lookup,
                                                 std::span<const DitherWeight> weights, int divisor)
    : TDitherEngine(width, lookup), weights_(weights), divisor_(divisor) {
  int depth = 0;
  for (const DitherWeight& w : weights_) {
    margin_ = std::max(margin_, std::abs(w.dx));
    depth = std::max(depth, w.dy);
  }
  rows_.assign(static_cast<std::size_t>(depth) + 1,
               std::vector<std::int32_t>(static_cast<std::size_t>(width_ + 2 * margin_) * 3, 0));
}

std::uint8_t TErrorDiffusionDitherer::Dither(std::uint8_t red, std::uint8_t green,
                                             std::uint8_t blue) {
  const int x = column_;
  column_ += direction_;
  if (x < 0 || x >= width_) {
    // More pixels than the row holds: no place to keep their error.
    TGIFColor chosen;
    return lookup_.Lookup(red, green, blue, chosen);
  }
  const std::size_t at = static_cast<std::size_t>(x + margin_) * 3;
  const std::int32_t* gathered = rows_[0].data() + at;
  const int half = divisor_ / 2;
  const int wanted[3] = {Clamp(red + (gathered[0] + half) / divisor_),
                         Clamp(green + (gathered[1] + half) / divisor_),
                         Clamp(blue + (gathered[2] + half) / divisor_)};
  TGIFColor chosen;
  std::uint8_t index =
      lookup_.Lookup(static_cast<std::uint8_t>(wanted[0]), static_cast<std::uint8_t>(wanted[1]),
                     static_cast<std::uint8_t>(wanted[2]), chosen);
  const int error[3] = {wanted[0] - chosen.red, wanted[1] - chosen.green, wanted[2] - chosen.blue};
  if (error[0] | error[1] | error[2]) {
    for (const DitherWeight& w : weights_) {
      std::int32_t* cell = rows_[static_cast<std::size_t>(w.dy)].data() +
                           static_cast<std::ptrdiff_t>(at) +
                           static_cast<std::ptrdiff_t>(w.dx) * direction_ * 3;
      cell[0] += error[0] * w.weight;
      cell[1] += error[1] * w.weight;
      cell[2] += error[2] * w.weight;
    }
  }
  return index;
}

void TErrorDiffusionDitherer::NextLine() {
  TDitherEngine::NextLine();
  std::rotate(rows_.begin(), rows_.begin() + 1, rows_.end());
  std::fill(rows_.back().begin(), rows_.back().end(), 0);
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, kFloydSteinberg, 16) {}
TStuckiDitherer::TStuckiDitherer(int width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, kStucki, 42) {}
TSierraDitherer::TSierraDitherer(int width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, kSierra, 32) {}
TJaJuNiDitherer::TJaJuNiDitherer(int width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, kJarvisJudiceNinke, 48) {}
TSteveArcheDitherer::TSteveArcheDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, kSteveArche, 200) {}
TBurkesDitherer::TBurkesDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, kBurkes, 32) {}

std::unique_ptr<TDitherEngine> MakeDitherer(int mode, int width, TColorLookup& lookup) {
  switch (mode) {
    case 0:
      return std::make_unique<TDitherEngine>(width, lookup);
    case 1:
      return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case 2:
      return std::make_unique<TStuckiDitherer>(width, lookup);
    case 3:
      return std::make_unique<TSierraDitherer>(width, lookup);
    case 4:
      return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case 5:
      return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case 6:
      return std::make_unique<TBurkesDitherer>(width, lookup);
    default:
      return nullptr;
  }
}

}  // namespace rf::gif
