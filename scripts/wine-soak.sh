#!/usr/bin/env bash
# Runs the Windows steps of the test command again and again, the way
# scripts/test-all.sh runs them, to show that they pass for a reason only:
#   scripts/wine-soak.sh [-n RUNS] [-f EVERY] [-b] [-o] [-s]
#     -n RUNS   how many runs (default 30)
#     -f EVERY  start every EVERY-th run from a fresh prefix (default 0: never)
#     -b        make the prefix in the background just before the suite, on a
#               display of its own, as test-all does (RF_SOAK_MAKE=--init: as
#               it did before, with the warm-up)
#     -o        keep another Wine prefix busy on the machine meanwhile
#     -s        skip the 32-bit step
#     -w EVERY  run the 32-bit step in every EVERY-th run only (default 1)
# Needs built win64 (and win32) trees. Each run's logs go to
# build/soak/RUN/; the last line counts the runs that passed and failed.
set -u
cd "$(dirname "$0")/.."
runs=30 fresh=0 background=0 other=0 win32=1 every32=1
while getopts "n:f:bosw:" opt; do
  case $opt in
    n) runs=$OPTARG ;;
    f) fresh=$OPTARG ;;
    b) background=1 ;;
    o) other=1 ;;
    s) win32=0 ;;
    w) every32=$OPTARG ;;
    *) exit 2 ;;
  esac
done
export WINEDEBUG=-all
prefix=${RF_WINEPREFIX:-$(pwd)/build/wineprefix}
root=build/soak
rm -rf "$root"
mkdir -p "$root"

busy_pid=""
if [ "$other" = 1 ]; then
  # A second prefix running a Windows program over and over, on a display of
  # its own, for as long as the soak lasts.
  export RF_SOAK_OTHER="$(pwd)/build/soak-other-prefix"
  (
    export RF_WINEPREFIX=$RF_SOAK_OTHER
    cd build/win64/bin || exit 1
    exec setsid ../../../scripts/with-display.sh bash -c '
      while :; do ../../../cmake/wine-run.sh ../tests/gif_reduce_win/gif_reduce_win_tests.exe >/dev/null 2>&1; sleep 2; done'
  ) &
  busy_pid=$!
fi

passed=0 failed=0 retried=0
for i in $(seq "$runs"); do
  dir="$root/$i"
  mkdir -p "$dir"
  cmake/wine-run.sh --stop
  if [ "$fresh" -gt 0 ] && [ $(((i - 1) % fresh)) -eq 0 ]; then rm -rf "$prefix" "$prefix.lock"; fi
  rm -f "$prefix.retries"
  make_pid=""
  if [ "$background" = 1 ]; then
    scripts/with-display.sh cmake/wine-run.sh "${RF_SOAK_MAKE:---make}" >"$dir/prefix.log" 2>&1 &
    make_pid=$!
  fi
  ok=1
  start=$(date +%s)
  scripts/with-display.sh ctest --preset win64 >"$dir/win64.log" 2>&1 || ok=0
  if [ "$win32" = 1 ] && [ $(((i - 1) % every32)) -eq 0 ]; then
    scripts/with-display.sh ctest --preset win32 >"$dir/win32.log" 2>&1 || ok=0
  fi
  [ -z "$make_pid" ] || wait "$make_pid"
  cmake/wine-run.sh --stop
  r=0
  [ -f "$prefix.retries" ] && r=$(wc -l <"$prefix.retries")
  retried=$((retried + r))
  if [ "$ok" = 1 ]; then passed=$((passed + 1)); verdict=passed; else failed=$((failed + 1)); verdict=FAILED; fi
  echo "run $i: $verdict in $(($(date +%s) - start)) s, $r retried start(s)"
  if [ "$ok" = 0 ]; then
    grep -hE '\*\*\*|Failed|wine-run:' "$dir"/win*.log | sed 's/^/    /'
  fi
done

if [ -n "$busy_pid" ]; then
  kill -TERM -- "-$busy_pid" 2>/dev/null
  wait "$busy_pid" 2>/dev/null
  RF_WINEPREFIX=$RF_SOAK_OTHER cmake/wine-run.sh --stop
fi
echo "soak: $passed passed, $failed failed ($retried starts retried)"
[ "$failed" = 0 ]
