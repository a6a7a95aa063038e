#!/usr/bin/env bash
# Runs the 32-bit host under wine64, its own process emulated by qemu-i386.
# Without that emulation the test reports itself skipped, with the reason.
set -u
if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
  echo "SKIPPED: this machine has no qemu-i386 binfmt_misc registration (scripts/install-deps.sh makes it where the kernel allows)"
  exit 77
fi
if [ ! -e /usr/lib/wine/wine ] && [ ! -e /usr/lib/i386-linux-gnu/wine ]; then
  echo "SKIPPED: wine32 is not installed"
  exit 77
fi
exec "$(dirname "$0")/../../cmake/wine-run.sh" "$@"
