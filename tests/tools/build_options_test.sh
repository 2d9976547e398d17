#!/usr/bin/env bash
# A plain configuration, as a user or packager makes it, does not treat
# warnings as errors (a compiler's false positive must not stop their build);
# VORLANE_WERROR=ON, as ./test sets it, does.
set -uo pipefail
source="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
only_core=(-G Ninja -DVORLANE_BUILD_GUI=OFF -DVORLANE_BUILD_TOOLS=OFF -DVORLANE_BUILD_TESTS=OFF)

cmake -S "$source" -B "$work/plain" "${only_core[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null || fail "plain: configure"
grep -q -- "-Werror" "$work/plain/build.ninja" && fail "plain: warnings are errors"
cmake -S "$source" -B "$work/strict" "${only_core[@]}" -DVORLANE_WERROR=ON >/dev/null || fail "strict: configure"
grep -q -- "-Werror" "$work/strict/build.ninja" || fail "VORLANE_WERROR=ON: warnings are not errors"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all build option checks passed"
