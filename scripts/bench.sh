#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks (Release, in build-bench) and
# runs every one of them: each executable bench_* in build-bench/bench. The
# first-start comparison runs under its own Xvfb when xvfb-run is there, so it
# measures under X11 as well as offscreen.
#   bash scripts/bench.sh [name ...]     (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARNOLITH_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2
export QT_QPA_PLATFORM=offscreen
# Programs that benchmarks start as their baselines, not benchmarks themselves.
helpers=" bench_trivial_program "
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for b in build-bench/bench/bench_*; do
    name=$(basename "$b")
    [ -f "$b" ] && [ -x "$b" ] && [[ $helpers != *" $name "* ]] && names+=("$name")
  done
fi
failed=()
for name in "${names[@]}"; do
  echo
  echo "==== $name"
  cmd=("build-bench/bench/$name")
  if [ "$name" = bench_first_start ] && command -v xvfb-run >/dev/null; then
    cmd=(xvfb-run -a -s "-screen 0 1280x1024x24" "${cmd[@]}")
  fi
  # The offscreen platform's notice about size hints says nothing here.
  "${cmd[@]}" 2> >(grep -v 'does not support propagateSizeHints' >&2) || failed+=("$name")
done
echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "missed a target or failed: ${failed[*]}"
  exit 1
fi
echo "all benchmarks ran, every target met"
