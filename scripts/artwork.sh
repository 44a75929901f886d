#!/usr/bin/env bash
# Draws the built-in artwork (banner, button skin, web-page button, LEDs,
# program icon) into resources/bitmaps and resources/icons.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S scripts/artwork -B build/artwork -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/artwork
mkdir -p resources/bitmaps resources/icons
QT_QPA_PLATFORM=offscreen build/artwork/draw_artwork resources
