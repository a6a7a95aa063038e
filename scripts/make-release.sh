#!/usr/bin/env bash
# Builds both packages into dist/: Runefold-<version>-win32.zip (the 32-bit
# module, the one hosts load) and -win64.zip, each with Runefold.dll,
# Runefold.cfg, runefold-check.exe, the guide and the notices, and
# dist/SHA256SUMS. Installs what it needs first (fresh Debian 12 machine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
rm -rf dist
mkdir -p dist
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs" --target Runefold runefold-check
  rm -rf "build/$preset/package"
  cpack --preset "$preset" >/dev/null
  cp "build/$preset/package/"Runefold-*-"$preset".zip dist/
done
(cd dist && sha256sum Runefold-*.zip > SHA256SUMS)
echo "make-release: dist/"
(cd dist && for f in Runefold-*.zip; do printf '  %s  %s bytes\n' "$f" "$(stat -c %s "$f")"; done)
