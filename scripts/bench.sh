#!/usr/bin/env bash
# Builds the benchmarks in Release and runs one or all of them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENZA_TESTS=OFF -DQUENZA_BENCH=ON >/dev/null
cmake --build build/bench
for b in build/bench/bench/bench_${1:-*}; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
