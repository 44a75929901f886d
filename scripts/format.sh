#!/usr/bin/env bash
# Formats the C++ sources with the project's .clang-format; --check only
# lists the files that differ and fails when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests bench fuzz -name '*.cpp' -o -name '*.h')
if [ "${1:-}" = "--check" ]; then
  report=$(mktemp)
  trap 'rm -f "$report"' EXIT
  if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
    grep -o '^[^:]*:[0-9]*:' "$report" | cut -d: -f1 | sort -u | sed 's/^/  not formatted: /'
    echo "Run scripts/format.sh to format them."
    exit 1
  fi
else
  clang-format -i "${files[@]}"
fi
