#!/usr/bin/env bash
# Runs every benchmark program of a build folder, one after another.
set -euo pipefail
build=${1:-build}
for bench in $(find "$build/bench" -type f -executable -name '*_bench' | sort); do
  echo "== $(basename "$bench")"
  "$bench"
done
