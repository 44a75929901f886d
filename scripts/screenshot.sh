#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window on the default emulated drives
# (a DVD writer, a BD writer, a CD reader), drawn offscreen by the window's
# screenshot test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENZA_SANITIZE=ON >/dev/null
cmake --build build/test --target test_gui_app quenzario_help
mkdir -p docs
QT_QPA_PLATFORM=offscreen QUENZARIO_SCREENSHOT="$PWD/docs/screenshot.png" \
  build/test/tests/test_gui_app --gtest_filter='MainWindowScreenshot.*' >/dev/null
echo "Wrote docs/screenshot.png"
