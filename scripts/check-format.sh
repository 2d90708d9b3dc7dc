#!/usr/bin/env bash
# Checks that every C++ file git tracks is formatted as .clang-format says.
# --fix formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(--dry-run --Werror)
[ "${1:-}" = --fix ] && mode=(-i)
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format --style=file "${mode[@]}"
