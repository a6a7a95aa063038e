#include "gif/reduce/colorreduction.h"

#include <algorithm>

#include "gif/reduce/colorquantizer.h"
#include "gif/reduce/ditherer.h"

namespace rf::gif {

namespace {

Palette QuantizeBitmap(const PixelBitmap& source, int colors, bool reserve_static,
                       const Palette& system_palette) {
  TColorQuantizer quantizer(reserve_static ? 236 : colors, 8);
  std::vector<std::uint8_t> row;
  for (int y = 0; y < source.Height(); ++y) {
    source.ReadRow(y, 24, row);
    quantizer.AddBgrPixels(row);
  }
  return PlaceQuantizedColors(quantizer, colors, reserve_static, system_palette);
}

}  // namespace

std::unique_ptr<TColorLookup> MakeReductionLookup(const PixelBitmap& source,
                                                  const ReductionSettings& settings) {
  switch (settings.method) {
    case rmWindows20:
      return std::make_unique<TFastColorLookup>(settings.system.default_palette);
    case rmWindows256:
      return std::make_unique<TFastColorLookup>(settings.system.halftone_palette);
    case rmWindowsGray:
      return std::make_unique<TFastColorLookup>(FourGreyPalette());
    case rmMonochrome:
      return std::make_unique<TMonochromeLookup>();
    case rmGrayScale:
      return std::make_unique<TGrayScaleLookup>();
    case rmNetscape:
      return std::make_unique<TNetscapeColorLookup>();
    case rmQuantize: {
      int bits = std::clamp(settings.bits, 1, 8);
      return std::make_unique<TFastColorLookup>(
          QuantizeBitmap(source, 1 << bits, false, settings.system.default_palette));
    }
    case rmQuantizeWindows:
      return std::make_unique<TFastColorLookup>(
          QuantizeBitmap(source, 236, true, settings.system.default_palette));
    case rmPalette:
      return std::make_unique<TFastColorLookup>(settings.palette);
    default:
      return nullptr;
  }
}

PixelBitmap ReduceColors(const PixelBitmap& source, const ReductionSettings& settings) {
  if (settings.method == rmNone) return source;
  if (settings.method < 0 || settings.method > rmPalette) return {};
  if (settings.dither_mode < 0 || settings.dither_mode > dmBurkes || source.Empty()) return {};
  std::unique_ptr<TColorLookup> lookup = MakeReductionLookup(source, settings);
  std::unique_ptr<TDitherEngine> ditherer =
      MakeDitherer(settings.dither_mode, source.Width(), *lookup);
  PixelBitmap result(source.Width(), source.Height(), 8, lookup->GetPalette());
  std::vector<std::uint8_t> row;
  for (int y = 0; y < source.Height(); ++y) {
    source.ReadRow(y, 24, row);
    std::uint8_t* out = result.ScanLine(y);
    const int step = ditherer->Direction();
    for (int x = ditherer->StartColumn(), n = 0; n < source.Width(); ++n, x += step) {
      const std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * 3;
      out[x] = ditherer->Dither(p[2], p[1], p[0]);
    }
    ditherer->NextLine();
  }
  return result;
}

}  // namespace rf::gif
