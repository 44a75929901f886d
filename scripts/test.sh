#!/usr/bin/env bash
# Installs what is missing, builds the tests (Debug, AddressSanitizer and
# UBSan) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENZA_SANITIZE=ON -DQUENZA_WERROR=$werror \
  -DQUENZA_BENCH=ON >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure -j "$(nproc)" --timeout 600
scripts/fuzz.sh
