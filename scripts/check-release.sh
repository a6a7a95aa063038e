#!/usr/bin/env bash
# CI's check of the packages: builds both into dist/ (scripts/make-release.sh;
# after the win32 and win64 builds of scripts/test-all.sh only the packing is
# left to do), checks the sums, unpacks them and checks their file lists
# against the repository, runs the packaged checker on the packaged data
# file, validates the packaged guide, loads the unpacked 64-bit module under
# Wine for one picker run and runs the export checks on both packaged
# modules. Prints "N passed, M failed"; exits non-zero on any failure.
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
export WINEDEBUG=-all
passed=0 failed=0
ok() { echo "ok: $*"; passed=$((passed + 1)); }
bad() { echo "FAILED: $*"; failed=$((failed + 1)); }
check() {  # description, command...
  local what=$1; shift
  if "$@"; then ok "$what"; else bad "$what"; fi
}

if ! bash scripts/make-release.sh; then
  echo "FAILED: make-release"; echo "0 passed, 1 failed"; exit 1
fi
# The demo host for the picker run, and the Wine prefix (both already there
# after test-all.sh's win64 step).
if ! cmake --build --preset win64 --target RunefoldHost >/dev/null ||
   ! cmake/wine-run.sh --make >/dev/null 2>&1; then
  echo "FAILED: demo host or Wine prefix"; echo "0 passed, 1 failed"; exit 1
fi
version=$(sed -nE 's/^project\(Runefold VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
work=build/release-check
rm -rf "$work"
mkdir -p "$work"

check "SHA256SUMS holds both packages and matches them" bash -c \
  "cd dist && [ \$(wc -l < SHA256SUMS) -eq 2 ] && sha256sum --quiet -c SHA256SUMS"

# What each package must hold: the module, its data file and the checker,
# the guide and the notices as the repository has them; nothing else.
expected() {
  printf '%s\n' Runefold.dll Runefold.cfg runefold-check.exe
  (cd docs/anleitung && find . -type f | sed 's|^\./|Anleitung/|')
  (cd notices && find . -type f | sed 's|^\./|Lizenzen/|')
}
expected | sort > "$work/expected.txt"

for arch in win32 win64; do
  zip=dist/Runefold-$version-$arch.zip
  dir=$work/$arch
  mkdir -p "$dir"
  if ! unzip -q "$zip" -d "$dir"; then bad "$zip unpacks"; continue; fi
  top=$dir/Runefold-$version-$arch
  (cd "$top" && find . -type f | sed 's|^\./||' | sort) > "$work/$arch.txt"
  check "$arch: file list" diff -u "$work/expected.txt" "$work/$arch.txt"
  check "$arch: Runefold.cfg is the delivered file" cmp -s data/Runefold.cfg "$top/Runefold.cfg"
  check "$arch: guide and notices as in the repository" bash -c \
    "diff -r docs/anleitung '$top/Anleitung' && diff -r notices '$top/Lizenzen'"
  if [ "$arch" = win32 ]; then
    check "$arch: modules are 32-bit" bash -c \
      "i686-w64-mingw32-objdump -f '$top/Runefold.dll' '$top/runefold-check.exe' | grep -c 'file format pei-i386' | grep -qx 2"
    check "$arch: export checks of the packaged module" \
      bash tests/exports/check_exports.sh "$top/Runefold.dll" i686-w64-mingw32-objdump i686
  else
    check "$arch: modules are 64-bit" bash -c \
      "x86_64-w64-mingw32-objdump -f '$top/Runefold.dll' '$top/runefold-check.exe' | grep -c 'file format pei-x86-64' | grep -qx 2"
    check "$arch: export checks of the packaged module" \
      bash tests/exports/check_exports.sh "$top/Runefold.dll" x86_64-w64-mingw32-objdump x86_64
  fi
done

top64=$work/win64/Runefold-$version-win64
check "packaged guide validates, its links and images resolve" \
  python3 scripts/check-guide.py "$top64/Anleitung/index.html"

# The packaged checker on the packaged data file, in the package's folder.
cfg_out=$(cd "$top64" && "$root/cmake/wine-run.sh" runefold-check.exe Runefold.cfg 2>&1)
cfg_rc=$?
# Wine's processes of that run end with it, so the picker run below starts
# them on its own display.
"$root/cmake/wine-run.sh" --stop
echo "$cfg_out"
check "packaged checker finds the packaged data file clean" \
  bash -c "[ $cfg_rc -eq 0 ] && printf '%s' \"\$1\" | tr -d '\r' | grep -qx 'Keine Probleme gefunden.'" _ "$cfg_out"

# One picker run of the unpacked 64-bit module: the demo host, put beside
# it, loads it from its own folder and runs its scripted session.
cp build/win64/bin/RunefoldHost.exe "$top64/"
mkdir -p "$work/shots"
shots="Z:$root/$work/shots"
shots=${shots//\//\\}
run_out=$(cd "$top64" && "$root/scripts/with-display.sh" bash -c \
  '"$1/cmake/wine-run.sh" RunefoldHost.exe --script "$2"; rc=$?; "$1/cmake/wine-run.sh" --stop; exit $rc' \
  _ "$root" "$shots" 2>&1 | iconv -f CP1252 -t UTF-8)
run_rc=$?
echo "$run_out" | tail -n 3
rm -f "$top64/RunefoldHost.exe"
check "unpacked 64-bit module: one picker run returns its result" \
  bash -c "[ $run_rc -eq 0 ] && printf '%s' \"\$1\" | grep -q 'pluginStart lieferte \"&reg; ok\", pluginRueckgabetyp 1'" _ "$run_out"

echo "release: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
