#!/usr/bin/env bash
# Starts the program offscreen on the emulated drives in a private TMPDIR and
# config home, waits until it has listed the drives, then ends it.
set -u
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen QUENZARIO_EMULATE=default
"$exe" &
pid=$!
for _ in $(seq 1 200); do
  if grep -q "InitInterfaces() - End" "$work/Quenzario.log" 2>/dev/null; then break; fi
  if ! kill -0 "$pid" 2>/dev/null; then echo "quenzario ended early"; wait "$pid"; exit 1; fi
  sleep 0.1
done
kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
head -n 3 "$work/Quenzario.log"
# F1 and Help open the pages beside the program.
help=$(dirname "$exe")/help
[ -f "$help/introduction.htm" ] && [ -f "$help/Drive Info.htm" ] || { echo "no help pages in $help"; exit 1; }
grep -q "^Log Started " "$work/Quenzario.log" && grep -q "^Memory statistics$" "$work/Quenzario.log" \
  && grep -q "Start main window class" "$work/Quenzario.log" \
  && grep -q "associate -  handle created" "$work/Quenzario.log" && grep -q "InitInterfaces() - End" "$work/Quenzario.log"
