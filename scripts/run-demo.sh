#!/usr/bin/env bash
# The main job: builds the 64-bit module and the demo host, then starts the
# host under Wine. With a display the host opens its window (F2 or the menu
# "Einfügen" starts the picker); without one it runs a scripted session in
# Xvfb: it opens the picker, picks a character, types into the result line,
# presses OK, prints what the plug-in returned and writes screenshots.
# RF_DPI=144 (or 120, 192, ...) runs it at that display DPI, in a Wine
# prefix of its own (cmake/wine-run.sh); the screenshots then go to
# artifacts/dpi144/.
set -u
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target RunefoldHost -j"$(nproc)" || exit 1
out=artifacts
if [ -n "${RF_DPI:-}" ] && [ "$RF_DPI" != 96 ]; then out=artifacts/dpi$RF_DPI; fi
export RF_DPI=${RF_DPI:-96}
mkdir -p "$out"
shots="Z:$(pwd)/$out"
shots=${shots//\//\\}
cd build/win64/bin
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${RF_SCRIPTED:-}" ]; then
  ../../../cmake/wine-run.sh RunefoldHost.exe
else
  echo "No display: scripted session under Xvfb; screenshots go to artifacts/"
  # Wine is stopped before the private display goes away.
  ../../../scripts/with-display.sh bash -c \
    '../../../cmake/wine-run.sh RunefoldHost.exe --script "$1"; rc=$?; ../../../cmake/wine-run.sh --stop; exit $rc' \
    _ "$shots" | iconv -f CP1252 -t UTF-8
  exit "${PIPESTATUS[0]}"
fi
