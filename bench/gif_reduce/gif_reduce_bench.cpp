// Colour reduction time and quality against ImageMagick on the shared
// photographs (decoded to RGB with giflib).
//
//   Octree/<picture>        method 7 (octree, 8 bits), no dithering
//   OctreeFS/<picture>      method 7 with Floyd-Steinberg
//   CubeFS/<picture>        method 6 (216-colour cube) with Floyd-Steinberg
//   Magick/<picture>/None   convert -dither None -colors 256
//   Magick/<picture>/FS     convert -dither FloydSteinberg -colors 256
//
// Each picture also runs as <picture>-smooth: the decoded picture under a
// 3x3 box blur, a true-colour photograph of many thousand colours (the
// originals hold at most 256, which ImageMagick keeps exactly).
//
// Counters: PSNR (dB) of the reduced picture against the original. The
// ImageMagick runs are whole processes reading and writing PPM files;
// `baseline_ms` is the time of the same process without -colors, so
// (real time - baseline_ms) is the time of its quantizer alone.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gif/reduce/colorreduction.h"

namespace {

using rf::gif::PixelBitmap;

struct Photo {
  std::string name;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  std::string ppm;  // the picture as a PPM file for ImageMagick
};

bool LoadShared(const std::string& file, Photo& photo) {
  const std::string path = std::string(RF_SHARED_DIR) + "/gif-bench/" + file;
  int err = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &err);
  if (gif == nullptr) return false;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
    DGifCloseFile(gif, &err);
    return false;
  }
  const SavedImage& img = gif->SavedImages[0];
  const ColorMapObject* map = img.ImageDesc.ColorMap ? img.ImageDesc.ColorMap : gif->SColorMap;
  photo.width = img.ImageDesc.Width;
  photo.height = img.ImageDesc.Height;
  const std::size_t n = static_cast<std::size_t>(photo.width) * photo.height;
  photo.rgb.resize(n * 3);
  for (std::size_t i = 0; i < n; ++i) {
    const int index = img.RasterBits[i];
    if (map != nullptr && index < map->ColorCount) {
      photo.rgb[i * 3] = map->Colors[index].Red;
      photo.rgb[i * 3 + 1] = map->Colors[index].Green;
      photo.rgb[i * 3 + 2] = map->Colors[index].Blue;
    }
  }
  DGifCloseFile(gif, &err);
  return true;
}

double Psnr(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<double>(a[i]) - b[i];
    sum += d * d;
  }
  const double mse = sum / static_cast<double>(a.size());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

std::vector<std::uint8_t> ToRgb(const PixelBitmap& reduced) {
  std::vector<std::uint8_t> rgb;
  std::vector<std::uint8_t> row;
  for (int y = 0; y < reduced.Height(); ++y) {
    reduced.ReadRow(y, 24, row);
    for (std::size_t x = 0; x + 2 < row.size(); x += 3)
      rgb.insert(rgb.end(), {row[x + 2], row[x + 1], row[x]});
  }
  return rgb;
}

void Reduce(benchmark::State& state, const Photo& photo, int method, int dither) {
  const PixelBitmap source = rf::gif::BitmapFromRgb(photo.width, photo.height, photo.rgb);
  rf::gif::ReductionSettings settings;
  settings.method = static_cast<rf::gif::TColorReduction>(method);
  settings.dither_mode = static_cast<rf::gif::TDitherMode>(dither);
  PixelBitmap out;
  for (auto _ : state) {
    out = rf::gif::ReduceColors(source, settings);
    benchmark::DoNotOptimize(out);
  }
  state.counters["PSNR"] = Psnr(photo.rgb, ToRgb(out));
  state.counters["MPix/s"] = benchmark::Counter(static_cast<double>(photo.width) * photo.height,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

std::vector<std::uint8_t> ReadPpmPixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  std::vector<std::uint8_t> px(static_cast<std::size_t>(w) * h * 3);
  in.read(reinterpret_cast<char*>(px.data()), static_cast<std::streamsize>(px.size()));
  return px;
}

double RunMs(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void Magick(benchmark::State& state, const Photo& photo, const std::string& dither) {
  const std::string out = photo.ppm + "." + dither + ".out.ppm";
  const std::string plain = "convert " + photo.ppm + " " + out;
  const std::string command = "convert " + photo.ppm + " -dither " + dither + " -colors 256 " + out;
  double baseline = 0;
  for (int i = 0; i < 3; ++i) baseline += RunMs(plain) / 3;
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("convert failed");
      return;
    }
  }
  state.counters["PSNR"] = Psnr(photo.rgb, ReadPpmPixels(out));
  state.counters["baseline_ms"] = baseline;
  std::remove(out.c_str());
}

Photo Smoothed(const Photo& p) {
  Photo s = p;
  s.name += "-smooth";
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0, n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int yy = y + dy, xx = x + dx;
            if (yy < 0 || yy >= p.height || xx < 0 || xx >= p.width) continue;
            sum += p.rgb[(static_cast<std::size_t>(yy) * p.width + xx) * 3 + c];
            ++n;
          }
        s.rgb[(static_cast<std::size_t>(y) * p.width + x) * 3 + c] =
            static_cast<std::uint8_t>((sum + n / 2) / n);
      }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  static std::vector<Photo> photos;
  for (const char* file :
       {"harvesters.gif", "hat.gif", "hibiscus.regular.gif", "hippopotamus.regular.gif"}) {
    Photo photo;
    photo.name = file;
    photo.name.resize(photo.name.find('.'));
    if (!LoadShared(file, photo)) {
      std::fprintf(stderr, "gif_reduce_bench: %s/gif-bench/%s is absent, skipped\n", RF_SHARED_DIR,
                   file);
      continue;
    }
    Photo smooth = Smoothed(photo);
    photos.push_back(std::move(photo));
    photos.push_back(std::move(smooth));
  }
  for (Photo& photo : photos) {
    photo.ppm = "/tmp/rf_gif_reduce_bench_" + photo.name + ".ppm";
    std::ofstream ppm(photo.ppm, std::ios::binary);
    ppm << "P6\n" << photo.width << " " << photo.height << "\n255\n";
    ppm.write(reinterpret_cast<const char*>(photo.rgb.data()),
              static_cast<std::streamsize>(photo.rgb.size()));
  }
  const bool magick = std::system("convert -version > /dev/null 2>&1") == 0;
  if (!magick) std::fprintf(stderr, "gif_reduce_bench: ImageMagick convert not found, skipped\n");
  for (const Photo& p : photos) {
    benchmark::RegisterBenchmark(("Octree/" + p.name).c_str(), Reduce, p, 7, 0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("OctreeFS/" + p.name).c_str(), Reduce, p, 7, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("CubeFS/" + p.name).c_str(), Reduce, p, 6, 1)
        ->Unit(benchmark::kMillisecond);
    if (magick) {
      benchmark::RegisterBenchmark(("Magick/" + p.name + "/None").c_str(), Magick, p, "None")
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(5);
      benchmark::RegisterBenchmark(("Magick/" + p.name + "/FS").c_str(), Magick, p,
                                   "FloydSteinberg")
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(5);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const Photo& p : photos) std::remove(p.ppm.c_str());
  return 0;
}
