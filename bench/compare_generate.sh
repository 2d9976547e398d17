#!/bin/sh
# Generation speed against an earlier revision, measured side by side: builds
# that revision's generate_bench into a scratch directory (from `git archive`,
# no worktree), then runs it and this tree's generate_bench in turn for a
# number of rounds and prints the median CPU time of each case, the ratio
# old / new of the medians and that of the fastest rounds.
#
# Usage (from the project's root, after building with -DVORLANE_BUILD_BENCH=ON):
#   bench/compare_generate.sh [build_dir] [base_revision] [rounds]
# The default base is 943f4a6, the generation before its cache of compiled
# brace groups. Cases compared: the 999-level weapon and the 32767-cell grid,
# each with the current default cache capacity.
set -eu
BUILD=${1:-build}
BASE=${2:-943f4a6}
ROUNDS=${3:-5}
ROOT=$(pwd)
NEW="$ROOT/$BUILD/bench/generate_bench"
[ -x "$NEW" ] || { echo "build $BUILD with -DVORLANE_BUILD_BENCH=ON first"; exit 2; }
SCRATCH=${COMPARE_SCRATCH:-/tmp/vorlane-compare-$BASE}
if [ ! -x "$SCRATCH/build/bench/generate_bench" ]; then
  mkdir -p "$SCRATCH/src"
  git archive "$BASE" | tar -x -C "$SCRATCH/src"
  launcher=""
  command -v ccache >/dev/null && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
  cmake -S "$SCRATCH/src" -B "$SCRATCH/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORLANE_BUILD_GUI=OFF -DVORLANE_BUILD_BENCH=ON $launcher >/dev/null
  cmake --build "$SCRATCH/build" --target generate_bench >/dev/null
fi
OLD="$SCRATCH/build/bench/generate_bench"

OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT
round=1
while [ "$round" -le "$ROUNDS" ]; do
  # Old names: BM_WeaponLevels/999, BM_LargestGrid; new ones carry the cache
  # capacity as a further argument.
  "$OLD" --benchmark_filter='BM_WeaponLevels/999$|BM_LargestGrid' --benchmark_format=csv 2>/dev/null |
    sed -n 's/^"BM_\([A-Za-z]*\)[^,]*,/old,\1,/p' >>"$OUT"
  "$NEW" --benchmark_filter='BM_WeaponLevels/999/2048|BM_LargestGrid/2048' --benchmark_format=csv 2>/dev/null |
    sed -n 's/^"BM_\([A-Za-z]*\)[^,]*,/new,\1,/p' >>"$OUT"
  round=$((round + 1))
done
# csv columns after the rewrite: side,case,iterations,real_time,cpu_time,unit,...
python3 - "$OUT" <<'EOF'
import csv, statistics, sys
times = {}
for row in csv.reader(open(sys.argv[1])):
    side, case, cpu = row[0], row[1], float(row[4])
    if row[9] == "true":
        sys.exit(f"{side} {case} failed: {row[10]}")
    times.setdefault((side, case), []).append(cpu)
# Medians, and the ratio of the fastest rounds, which other load disturbs least.
print(f"{'case':<14}{'old ms':>10}{'new ms':>10}{'old/new':>9}{'best/best':>11}  rounds")
for case in ("WeaponLevels", "LargestGrid"):
    old, new = times.get(("old", case)), times.get(("new", case))
    if not old or not new:
        continue
    o, n = statistics.median(old), statistics.median(new)
    spread = f"{min(old)/max(new):.2f}..{max(old)/min(new):.2f}"
    print(f"{case:<14}{o:>10.1f}{n:>10.1f}{o/n:>9.2f}{min(old)/min(new):>11.2f}  {len(old)} (ratio range {spread})")
EOF
