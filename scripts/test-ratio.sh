#!/usr/bin/env bash
# Non-blank lines of the tests against those of the code, at a git revision
# (default HEAD): tests/**/*.{cpp,h,sh} against src/**/*.{cpp,h}.
#
#   scripts/test-ratio.sh [REV]
set -euo pipefail
rev=${1:-HEAD}
cd "$(dirname "$0")/.."
nonblank() {  # nonblank DIR REGEX
  git ls-tree -r --name-only "$rev" -- "$1" | grep -E "$2" |
    while read -r f; do git show "$rev:$f"; done | grep -cv '^[[:space:]]*$'
}
tests=$(nonblank tests '\.(cpp|h|sh)$')
code=$(nonblank src '\.(cpp|h)$')
echo "$rev: tests $tests, code $code non-blank lines: tests are $((100 * tests / code))% of the code"
