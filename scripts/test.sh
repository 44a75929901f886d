#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds the tests (Debug,
# AddressSanitizer and UBSan) and runs every test, then fuzzes the readers
# briefly. `scripts/test.sh release` runs the suite on a Release build instead
# (build/test-release), without sanitizers or fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# A merge left half done must not land.
if git grep -nE '^(<<<<<<<|>>>>>>>) ' -- . ':!*.md' 2>/dev/null; then
  echo "Merge conflict markers in the files above" >&2
  exit 1
fi
scripts/format.sh --check
# Paths relative to the checkout, so clones and worktrees share the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
if [ "${1:-}" = "release" ]; then
  cmake -S . -B build/test-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENZA_WERROR=$werror \
    -DQUENZA_BENCH=OFF >/dev/null
  cmake --build build/test-release
  ctest --test-dir build/test-release --output-on-failure -j "$(nproc)" --timeout 600
  exit 0
fi
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENZA_SANITIZE=ON -DQUENZA_WERROR=$werror \
  -DQUENZA_BENCH=ON >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)" --timeout 600
QUENZA_WERROR=$werror scripts/fuzz.sh
