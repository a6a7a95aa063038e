#!/usr/bin/env bash
# Runs every fuzz target built by the fuzz preset for N seconds each
# (default 30): fuzz/run.sh [SECONDS]. Build first:
#   cmake --preset fuzz && cmake --build --preset fuzz
# A target's seeds come from fuzz/<area>/corpus/<target>/ when that exists,
# else from fuzz/<area>/corpus/. New inputs go to build/fuzz/corpus/<target>/
# (the repository's seeds stay as they are), crashes to
# build/fuzz/artifacts/. Exits non-zero if any target failed.
set -uo pipefail
seconds="${1:-30}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${RF_FUZZ_BUILD:-$root/build/fuzz}"
if [ ! -d "$build/fuzz" ]; then
  echo "run.sh: no fuzz build in $build (cmake --preset fuzz && cmake --build --preset fuzz)" >&2
  exit 2
fi
mkdir -p "$build/artifacts"
status=0
while IFS= read -r target; do
  name="$(basename "$target")"
  area="$(basename "$(dirname "$target")")"
  seeds="$root/fuzz/$area/corpus"
  [ -d "$seeds/$name" ] && seeds="$seeds/$name"
  work="$build/corpus/$name"
  mkdir -p "$work"
  echo "== $name ($seconds s)"
  args=("$work")
  [ -d "$seeds" ] && args+=("$seeds")
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "${args[@]}" 2>&1 | tail -n 12; then
    status=1
  fi
done < <(find "$build/fuzz" -mindepth 2 -maxdepth 2 -type f -perm -u+x -name '*_fuzz' | sort)
exit $status
