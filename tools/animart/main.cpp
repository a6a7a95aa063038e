// animart FILE: writes the demo host's animation.
#include <cstdio>
#include <fstream>

#include "tools/animart/anim_art.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: animart FILE.gif\n");
    return 2;
  }
  const auto bytes = rf::tools::MakeAnimationGif();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "animart: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %zu bytes\n", argv[1], bytes.size());
  return 0;
}
