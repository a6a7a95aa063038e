// Any bytes as a GIF stream: reading must end in a picture or a
// GIFException, never a crash, a hang or undefined behaviour, and what it
// read must hold together.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gif/gifimage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace rf::gif;
  TGIFImage image;
  // Small limits keep the fuzzer fast; the limits' own checks still run.
  image.MaxFramePixels = std::size_t{1} << 20;
  image.MaxImagePixels = std::size_t{1} << 22;
  std::size_t warnings = 0;
  image.OnWarning = [&](TGIFImage&, TGIFSeverity, const std::string&) { ++warnings; };
  int last_stage = -1;
  image.OnProgress = [&](TGIFImage&, TProgressStage stage, int percent, bool, const TGIFRect&,
                         const std::string&) {
    if (stage < last_stage || percent < 0 || percent > 100) __builtin_trap();
    last_stage = stage;
  };
  GIFInputStream in({data, size});
  try {
    image.LoadFromStream(in);
    if (in.Position() > size) __builtin_trap();
  } catch (const GIFException&) {
    if (in.Position() != 0) __builtin_trap();
  }
  if (last_stage != psEnding) __builtin_trap();

  unsigned sum = 0;
  for (const auto& frame : image.Images()) {
    auto pixels = frame->Pixels();
    if (!frame->Empty() &&
        pixels.size() != static_cast<std::size_t>(frame->Width()) * frame->Height()) {
      __builtin_trap();
    }
    for (std::uint8_t p : pixels) sum += p;
    sum += static_cast<unsigned>(frame->ActiveColorMap().Count());
    sum += frame->TransparentIndex();
  }
  try {
    sum += image.BackgroundColor();
  } catch (const GIFException&) {
  }
  if (const TGIFAppExtNSLoop* loop = image.LoopExtension()) sum += loop->LoopCount();
  return static_cast<int>(sum & 0);
}
