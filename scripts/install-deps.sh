#!/usr/bin/env bash
# Installs what the build, the tests and the benchmarks need on a Debian 12
# machine. Idempotent: installs only what is missing and touches apt only then.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy
  googletest libgtest-dev libbenchmark-dev libgif-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 wine32:i386 qemu-user-static
  xvfb xauth x11-utils fonts-wine fonts-liberation
  unifont imagemagick python3 procps unicode-cldr-core
  libfreetype-dev fonts-freefont-ttf fonts-dejavu-core fonts-tlwg-typo-ttf
  tidy unzip
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "install-deps: installing ${missing[*]:-(package lists only)}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  if [ "${#missing[@]}" -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# 32-bit Windows programs run under wine64 with only their own process
# emulated: register qemu-i386 for 32-bit ELF programs (F: the interpreter is
# opened now, so it works inside other mount namespaces too).
if [ -d /proc/sys/fs/binfmt_misc ] && [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
  $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || true
fi
if [ -e /proc/sys/fs/binfmt_misc/register ] && [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':qemu-i386:M::%s:%s:/usr/bin/qemu-i386-static:F\n' "$magic" "$mask" \
    | $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null 2>&1 \
    || echo "install-deps: binfmt_misc refused the qemu-i386 registration; 32-bit runs will be skipped"
fi
exit 0
