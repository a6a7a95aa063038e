#!/usr/bin/env bash
# Every test of every preset: the portable core natively under sanitizers,
# the Windows suite of the 64-bit module under Wine, the static checks and
# the end-to-end run of the 32-bit module, and a short run of every fuzz
# target. Installs what it needs first.
set -u
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1
export WINEDEBUG=-all

passed=0 failed=0 status=0
summarise() {  # adds up a ctest log's closing line, or the release check's
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  if [ -z "$line" ]; then
    line=$(grep -E '^release: [0-9]+ passed, [0-9]+ failed$' "$1" | tail -1)
    if [ -n "$line" ]; then
      passed=$((passed + $(echo "$line" | sed -E 's/^release: ([0-9]+) passed.*/\1/')))
      failed=$((failed + $(echo "$line" | sed -E 's/.* ([0-9]+) failed$/\1/')))
    fi
    return
  fi
  if [ -n "$line" ]; then
    local f t
    f=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    t=$(echo "$line" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
    passed=$((passed + t - f)); failed=$((failed + f))
  fi
}
step() {  # name, command...
  local name=$1; shift
  echo "=== $name"
  local log="build/logs/$name.log"
  mkdir -p build/logs
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  summarise "$log"
  if [ "$rc" -ne 0 ]; then echo "=== $name FAILED ($rc)"; status=1; fi
}

jobs=$(nproc)
# Making the Wine prefix takes minutes of emulated 32-bit set-up: do it while
# the native tree builds. The making leaves no Wine process behind, since its
# display ends with it; each Windows step's ctest fixture waits for the prefix
# under its lock and then starts Wine on the step's own display.
mkdir -p build/logs
rm -f build/wineprefix.retries
scripts/with-display.sh cmake/wine-run.sh --make >build/logs/wineprefix.log 2>&1 &
step native-build bash -c "cmake --preset native >/dev/null && cmake --build --preset native -j$jobs"
step native-test ctest --preset native
step win64-build bash -c "cmake --preset win64 >/dev/null && cmake --build --preset win64 -j$jobs"
step win64-test scripts/with-display.sh ctest --preset win64
step win32-build bash -c "cmake --preset win32 >/dev/null && cmake --build --preset win32 -j$jobs"
step win32-test scripts/with-display.sh ctest --preset win32
step release-check bash scripts/check-release.sh
step fuzz-build bash -c "cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j$jobs"
step fuzz-run bash fuzz/run.sh "${RF_FUZZ_SECONDS:-20}"

cmake/wine-run.sh --stop
# Starts that Wine itself refused and that were tried once more.
retried=0
[ -f build/wineprefix.retries ] && retried=$(wc -l <build/wineprefix.retries)
echo "wine: $retried program starts refused by Wine and retried"
echo "tests: $passed passed, $failed failed"
exit $status
