// tablepics: draws the twenty character table pictures from the cell lists
// and GNU Unifont and writes each as <picture>.pic (picture property form),
// optionally also as .gif and .ppm for looking at them.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/tablepics/cell_list.h"
#include "tools/tablepics/picture_file.h"
#include "tools/tablepics/scaled_picture.h"
#include "tools/tablepics/table_picture.h"
#include "tools/tablepics/unifont.h"

namespace {

namespace fs = std::filesystem;
using namespace rf::tablepics;

struct Options {
  std::string tables, cells, font, combining, out;
  bool gif = false;
  bool ppm = false;
  std::vector<int> scales;  // percent; none: the 100 % pictures from Unifont
};

constexpr const char* kUsage =
    "usage: tablepics --tables TABLES.tsv --cells CELLS.tsv --font unifont.hex\n"
    "                 [--combining plane00-combining.txt] --out DIR [--gif] [--ppm]\n"
    "                 [--scale PERCENT]...  (larger pictures, <picture>_<PERCENT>.pic,\n"
    "                                        from the scalable fonts)\n";

bool ParseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    bool ok = true;
    if (a == "--tables")
      ok = value(o.tables);
    else if (a == "--cells")
      ok = value(o.cells);
    else if (a == "--font")
      ok = value(o.font);
    else if (a == "--combining")
      ok = value(o.combining);
    else if (a == "--out")
      ok = value(o.out);
    else if (a == "--gif")
      o.gif = true;
    else if (a == "--ppm")
      o.ppm = true;
    else if (a == "--scale" && i + 1 < argc)
      o.scales.push_back(std::atoi(argv[++i]));
    else
      ok = false;
    if (!ok) return false;
  }
  return !o.tables.empty() && !o.cells.empty() && !o.font.empty() && !o.out.empty();
}

std::ifstream OpenInput(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return in;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

int Run(const Options& o) {
  auto tables_in = OpenInput(o.tables);
  auto cells_in = OpenInput(o.cells);
  const auto tables = ReadCellLists(tables_in, cells_in);
  auto font_in = OpenInput(o.font);
  Unifont font = Unifont::Read(font_in);
  if (!o.combining.empty()) {
    auto combining_in = OpenInput(o.combining);
    font.ReadCombining(combining_in);
  }
  fs::create_directories(o.out);
  if (!o.scales.empty()) {
    const FontChain fonts(kScalableFonts);
    for (const int percent : o.scales)
      for (const auto& table : tables) {
        const IndexedPicture picture = DrawScaledTablePicture(table, fonts, rf::fw::Scale(percent));
        const fs::path base = fs::path(o.out) / (table.picture + "_" + std::to_string(percent));
        const auto gif = EncodeGif(picture, ScaledPalette());
        WriteFile(fs::path(base).replace_extension(".pic"), PictureProperty(gif));
        if (o.gif) WriteFile(fs::path(base).replace_extension(".gif"), gif);
        if (o.ppm)
          WriteFile(fs::path(base).replace_extension(".ppm"), EncodePpm(picture, ScaledPalette()));
      }
    std::printf("tablepics: wrote %zu pictures at %zu scales to %s\n", tables.size(),
                o.scales.size(), o.out.c_str());
    return 0;
  }
  for (const auto& table : tables) {
    const IndexedPicture picture = DrawTablePicture(table, font);
    const fs::path base = fs::path(o.out) / table.picture;
    const auto gif = EncodeGif(picture);
    WriteFile(fs::path(base).replace_extension(".pic"), PictureProperty(gif));
    if (o.gif) WriteFile(fs::path(base).replace_extension(".gif"), gif);
    if (o.ppm) WriteFile(fs::path(base).replace_extension(".ppm"), EncodePpm(picture));
  }
  std::printf("tablepics: wrote %zu pictures to %s\n", tables.size(), o.out.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArgs(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tablepics: %s\n", e.what());
    return 1;
  }
}
