#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it on the emulated drives.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUENZA_TESTS=OFF -DQUENZA_BENCH=OFF >/dev/null
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake --build build/release --target quenzario
QUENZARIO_EMULATE=${QUENZARIO_EMULATE:-default} exec build/release/src/quenzario "$@"
