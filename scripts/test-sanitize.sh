#!/usr/bin/env bash
# Installs what is missing, builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan and runs it headless. Any finding
# fails its test: UB aborts (no recovery), ASan reports errors and leaks.
#   bash scripts/test-sanitize.sh [ctest arguments ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
started=$(date +%s)
cmake --preset asan >/dev/null
cmake --build --preset asan
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
status=0
ctest --preset asan "$@" || status=$?
echo "sanitizer build and test run: $(( $(date +%s) - started )) s"
exit $status
