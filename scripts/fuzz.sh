#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in build/fuzz, and the
# program itself with the same compiler and sanitizers (so clang sees every
# layer, the GUI too), and runs each fuzz target for a short while (seconds, default 20) on seeds written by its replay
# program. A crash or sanitizer finding fails the script; the input that
# caused it is kept in build/fuzz/ for replay_<topic> to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DQUENZA_FUZZ=ON -DQUENZA_TESTS=OFF -DQUENZA_BENCH=OFF -DQUENZA_WERROR="${QUENZA_WERROR:-OFF}" >/dev/null
cmake --build build/fuzz --target fuzz_targets quenzario
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  topic=$(basename "$target")
  topic=${topic#fuzz_}
  corpus=build/fuzz/corpus/$topic
  rm -rf "$corpus"
  mkdir -p "$corpus"
  "build/fuzz/fuzz/replay_$topic" --write-seeds "$corpus"
  log=build/fuzz/$topic.log
  echo "== fuzz_$topic (${seconds}s, log in $log)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/$topic-" "$corpus" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$topic failed"
    exit 1
  fi
  grep -E '^(Done|stat::(number_of_executed_units|new_units_added))' "$log"
done
