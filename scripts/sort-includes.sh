#!/usr/bin/env bash
# Sorts the #include lines of the given C++ files (default: every source under
# src/, tests/ and bench/) by .clang-format's blocks, and changes nothing else:
# clang-format is run on the lines from each file's first #include to its last.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 2; }
if [ $# -eq 0 ]; then
  mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h')
else
  files=("$@")
fi
for f in "${files[@]}"; do
  range=$(awk '/^#include/ { if (!first) first = NR; last = NR } END { if (first) print first ":" last }' "$f")
  [ -n "$range" ] && clang-format -i --style=file --lines="$range" "$f"
done
