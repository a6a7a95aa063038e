// gifprobe [--colors] [--dump DIR] FILE.gif
//
// Reads FILE with the codec and prints, one item per line:
//   warning <message>                      as reading reports them
//   screen <w>x<h> packed=0x.. background=<i> aspect=<a> global-colors=<n>
//   color <i> <r> <g> <b>                  (--colors) global table entries
//   frame <k> left=.. top=.. width=.. height=.. interlaced=0|1
//         local-colors=<n> transparent=0|1 transparent-index=<i> pixels=<n>
//   extension graphic-control disposal=.. delay=.. transparent=0|1
//         transparent-index=.. user-input=0|1 linked=0|1
//   extension text grid=<l>,<t>,<w>,<h> cell=<w>x<h> colors=<fg>,<bg> lines=<n>
//   extension comment lines=<n> "<first line>"
//   extension loop id="<11 bytes>" loop-count=.. buffer-size=..
//   extension application id="<11 bytes>" blocks=<n> bytes=<n>
//   loop-count <n>|none
//   error <message>                        when reading fails (exit code 1)
// With --dump DIR each frame k with pixels is written as DIR/frame-<k>.idx
// (one colour index per byte) and DIR/frame-<k>.rgba (through its active
// colour table; alpha 0 at the transparent index of a transparent frame).
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "gif/gifimage.h"

using namespace rf::gif;

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

void PrintExtension(const TGIFExtension& ext) {
  if (auto* gce = dynamic_cast<const TGIFGraphicControlExtension*>(&ext)) {
    std::printf(
        "  extension graphic-control disposal=%d delay=%u transparent=%d transparent-index=%u "
        "user-input=%d linked=%d\n",
        gce->Disposal(), gce->Delay(), gce->Transparent() ? 1 : 0, gce->TransparentColorIndex(),
        gce->UserInput() ? 1 : 0, gce->Frame()->GraphicControlExtension() == gce ? 1 : 0);
  } else if (auto* text = dynamic_cast<const TGIFTextExtension*>(&ext)) {
    std::printf("  extension text grid=%u,%u,%u,%u cell=%ux%u colors=%u,%u lines=%zu\n",
                text->GridLeft(), text->GridTop(), text->GridWidth(), text->GridHeight(),
                text->CellWidth(), text->CellHeight(), text->ForegroundColorIndex(),
                text->BackgroundColorIndex(), text->Text().size());
  } else if (auto* comment = dynamic_cast<const TGIFCommentExtension*>(&ext)) {
    std::printf("  extension comment lines=%zu \"%s\"\n", comment->Comment().size(),
                comment->Comment().empty() ? "" : Escaped(comment->Comment()[0]).c_str());
  } else if (auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&ext)) {
    std::printf("  extension loop id=\"%s\" loop-count=%u buffer-size=%u\n",
                Escaped(loop->IdentifierText()).c_str(), loop->LoopCount(), loop->BufferSize());
  } else if (auto* app = dynamic_cast<const TGIFUnknownAppExtension*>(&ext)) {
    std::size_t bytes = 0;
    for (const auto& block : app->Blocks()) bytes += block.Data.size();
    std::printf("  extension application id=\"%s\" blocks=%zu bytes=%zu\n",
                Escaped(app->IdentifierText()).c_str(), app->Blocks().size(), bytes);
  } else {
    std::printf("  extension label=0x%02X\n", ext.Label());
  }
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

bool DumpFrame(const std::string& dir, std::size_t k, const TGIFSubImage& frame) {
  auto pixels = frame.Pixels();
  std::vector<std::uint8_t> raw(pixels.begin(), pixels.end());
  std::vector<std::uint8_t> rgba;
  rgba.reserve(raw.size() * 4);
  const TGIFColorMap& map = frame.ActiveColorMap();
  for (std::uint8_t index : raw) {
    TGIFColor c = index < map.Count() ? map[index] : TGIFColor{};
    bool clear = frame.Transparent() && index == frame.TransparentIndex();
    rgba.insert(rgba.end(), {c.red, c.green, c.blue, static_cast<std::uint8_t>(clear ? 0 : 255)});
  }
  std::string base = dir + "/frame-" + std::to_string(k);
  return WriteFile(base + ".idx", raw) && WriteFile(base + ".rgba", rgba);
}

}  // namespace

int main(int argc, char** argv) {
  bool colors = false;
  std::string dump_dir;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--colors") == 0) {
      colors = true;
    } else if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc) {
      dump_dir = argv[++i];
    } else if (path.empty() && argv[i][0] != '-') {
      path = argv[i];
    } else {
      path.clear();
      break;
    }
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: gifprobe [--colors] [--dump DIR] FILE.gif\n");
    return 2;
  }

  TGIFImage image;
  image.OnWarning = [](TGIFImage&, TGIFSeverity, const std::string& message) {
    std::printf("warning %s\n", message.c_str());
  };
  std::string error;
  try {
    image.LoadFromFile(path);
  } catch (const std::exception& e) {
    error = e.what();
  }

  const TGIFScreenDescriptor& screen = image.Header().Descriptor();
  std::printf("screen %ux%u packed=0x%02X background=%u aspect=%u global-colors=%d\n", screen.Width,
              screen.Height, screen.Packed, screen.BackgroundColorIndex, screen.AspectRatio,
              image.GlobalColorMap().Count());
  if (colors) {
    const TGIFColorMap& map = image.GlobalColorMap();
    for (int i = 0; i < map.Count(); ++i) {
      std::printf("color %d %u %u %u\n", i, map[i].red, map[i].green, map[i].blue);
    }
  }
  int status = error.empty() ? 0 : 1;
  for (std::size_t k = 0; k < image.Images().Count(); ++k) {
    const TGIFSubImage& frame = image.Images()[k];
    std::printf(
        "frame %zu left=%d top=%d width=%d height=%d interlaced=%d local-colors=%d "
        "transparent=%d transparent-index=%u pixels=%zu\n",
        k, frame.Left(), frame.Top(), frame.Width(), frame.Height(), frame.Interlaced() ? 1 : 0,
        frame.ColorMap().Count(), frame.Transparent() ? 1 : 0, frame.TransparentIndex(),
        frame.Pixels().size());
    for (const auto& ext : frame.Extensions()) PrintExtension(*ext);
    if (!dump_dir.empty() && !frame.Empty() && !DumpFrame(dump_dir, k, frame)) {
      std::fprintf(stderr, "gifprobe: cannot write frame %zu to %s\n", k, dump_dir.c_str());
      status = 3;
    }
  }
  if (const TGIFAppExtNSLoop* loop = image.LoopExtension()) {
    std::printf("loop-count %u\n", loop->LoopCount());
  } else {
    std::printf("loop-count none\n");
  }
  if (!error.empty()) std::printf("error %s\n", error.c_str());
  return status;
}
