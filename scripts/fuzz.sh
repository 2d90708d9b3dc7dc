#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds
# (default 600). New inputs are merged, minimised, into fuzz/corpus/<target>.
#   bash scripts/fuzz.sh [seconds] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
seconds=${1:-600}; shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZARNOLITH_BUILD_BENCH=OFF >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_integer_text fuzz_settings_file)
for t in "${targets[@]}"; do
  cmake --build build-fuzz --target "$t" -j2
  corpus=fuzz/corpus/${t#fuzz_}
  mkdir -p "$corpus"
  found=$(mktemp -d)
  echo "== $t for $seconds s"
  "build-fuzz/fuzz/$t" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$found" "$corpus" 2>&1 | tail -n 12
  # Keep only inputs that add coverage.
  merged=$(mktemp -d)
  "build-fuzz/fuzz/$t" -merge=1 "$merged" "$corpus" "$found" 2>&1 | tail -n 1
  rm -rf "$corpus" && mkdir -p "$corpus" && cp "$merged"/* "$corpus"/ 2>/dev/null || true
  rm -rf "$found" "$merged"
done
