#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks (Release, in build-bench) and
# runs every one of them: each executable bench_* in build-bench/bench. The
# first-start comparison runs under its own Xvfb when xvfb-run is there, so it
# measures under X11 as well as offscreen.
#   bash scripts/bench.sh [name ...]     (default: all)
#
# Each benchmark with a target is checked against its own target:
#   bench_first_start   time <= 1.2 x the floor (the minimal window plus the program's
#                       own 15 ms of waits), peak memory <= 1.2 x the minimal window
#   bench_instance      the second start <= 3 x a program that only starts and exits
#   bench_windows       one keystroke until the other field shows < 0.1 ms
#   bench_appearance    a new display font applied and laid out < 5 ms (14, 72, 200 pt)
#   bench_settings_load a settings file's load time per byte at 1 MiB <= 2 x at 10 kB
# The exit code adds up what missed (or did not run, or failed):
#   1 first start, 2 second start, 4 keystroke, 8 re-layout, 16 another benchmark,
#   32 settings load.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
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
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

# check JSON LABEL NAME-REGEX FIELD LIMIT: every result of a benchmark whose
# name matches must have FIELD (a counter, or "time:UNIT", the real time per
# iteration in ns, us or ms) strictly below LIMIT (with "<=LIMIT": at most
# LIMIT). Prints one line per result; fails when one misses or none ran.
check() {
  python3 - "$@" <<'EOF'
import json, re, sys
path, label, pattern, field, limit = sys.argv[1:6]
inclusive = limit.startswith("<=")
bound = float(limit.lstrip("<="))
try:
    runs = [b for b in json.load(open(path))["benchmarks"] if re.fullmatch(pattern, b["name"])]
except (OSError, ValueError, KeyError) as e:
    print(f"  {label}: no results ({e})")
    sys.exit(1)
if not runs:
    print(f"  {label}: {pattern} did not run")
    sys.exit(1)
ok = True
for b in runs:
    if b.get("error_occurred"):
        print(f"  {label}: {b['name']} failed: {b.get('error_message', '')}")
        ok = False
        continue
    unit = ""
    if field.startswith("time:"):
        unit = field[5:]
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
        value = float(b["real_time"]) * scale[b.get("time_unit", "ns")] / scale[unit]
        shown = "time"
    else:
        value = float(b[field])
        shown = field
    met = value <= bound if inclusive else value < bound
    ok = ok and met
    print(f"  {label}: {b['name']} {shown} {value:.4g}{unit} "
          f"(target {'<=' if inclusive else '<'} {bound:g}{unit}) {'met' if met else 'MISSED'}")
sys.exit(0 if ok else 1)
EOF
}

status=0
missed=()
for name in "${names[@]}"; do
  echo
  echo "==== $name"
  cmd=("build-bench/bench/$name")
  json="$results/$name.json"
  case $name in
    bench_first_start)
      if command -v xvfb-run >/dev/null; then
        cmd=(xvfb-run -a -s "-screen 0 1280x1024x24" "${cmd[@]}")
      fi ;;
    *) cmd+=("--benchmark_out=$json" "--benchmark_out_format=json") ;;
  esac
  # The offscreen platform's notice about size hints says nothing here.
  ran=0
  "${cmd[@]}" 2> >(grep -v 'does not support propagateSizeHints' >&2) || ran=$?
  echo
  bit=16 label=$name ok=1
  case $name in
    bench_first_start)
      bit=1 label="first start"
      # The program compares with its own targets; its exit code says whether they held.
      [ "$ran" -eq 0 ] || ok=0 ;;
    bench_instance)
      bit=2 label="second start"
      [ "$ran" -eq 0 ] && check "$json" "$label" 'BM_SecondStartToTrivialRatio.*' ratio '<=3' || ok=0 ;;
    bench_windows)
      bit=4 label="keystroke"
      [ "$ran" -eq 0 ] && check "$json" "$label" 'BM_KeystrokeToOtherField.*' time:ms 0.1 || ok=0 ;;
    bench_appearance)
      bit=8 label="re-layout"
      [ "$ran" -eq 0 ] && check "$json" "$label" 'BM_FontApplyAndLayOut/.*' time:ms 5 || ok=0 ;;
    bench_settings_load)
      bit=32 label="settings load"
      # The program compares each shape's largest file with its smallest; its exit code says whether that held.
      [ "$ran" -eq 0 ] || ok=0 ;;
    *)
      [ "$ran" -eq 0 ] && echo "  $name: ran (no target of its own)" || ok=0 ;;
  esac
  if [ "$ok" -eq 0 ]; then
    [ "$ran" -eq 0 ] || echo "  $label: $name ended with exit code $ran"
    missed+=("$label")
    status=$((status | bit))
  fi
done
echo
if [ ${#missed[@]} -gt 0 ]; then
  echo "missed a target, or did not run: ${missed[*]} (exit code $status)"
else
  echo "ran: ${names[*]}; each target checked above was met"
fi
exit "$status"
