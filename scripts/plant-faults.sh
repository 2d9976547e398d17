#!/usr/bin/env bash
# Plants faults one at a time into a scratch copy of the work tree, rebuilds it,
# runs the suite, and reports which tests catch each fault.
#
#   scripts/plant-faults.sh [-o OUT] [-w SCRATCH] [-f FAULTS] [-c] [ID...]
#
#   -c          core only: configure a new scratch build without the GUI
#               (for faults in src/core and src/tools; quicker to build)
#   -o OUT      also write the table to OUT (it is always printed)
#   -w SCRATCH  scratch directory (default /tmp/vorlane-faults-$USER): a copy of
#               the tree in SCRATCH/tree, its build in SCRATCH/build (kept between
#               runs, so only what a fault touches is rebuilt; ccache is used)
#   -f FAULTS   fault list (default scripts/planted-faults.txt)
#   ID...       only these faults (default: all)
#
# The real files are never changed. Each line of the table reads
#   ID -> catching tests        (ctest names; failed core cases in brackets)
#   ID -> NOT CAUGHT
#   ID -> does not apply        (the text to find is not there exactly once)
#   ID -> build fails           (the fault does not compile)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=/tmp/vorlane-faults-${USER:-$(id -un)}
faults=$root/scripts/planted-faults.txt
out=
gui=ON
while getopts "o:w:f:c" opt; do
  case $opt in
    o) out=$(realpath -m "$OPTARG") ;;
    w) scratch=$OPTARG ;;
    f) faults=$(realpath "$OPTARG") ;;
    c) gui=OFF ;;
    *) sed -n '2,20p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
tree=$scratch/tree
build=$scratch/build
mkdir -p "$tree" "$build"

# The fault list: blocks of "key: value" lines separated by blank lines, keys
# id, file, find, repl, desc. In find/repl "\n" stands for a line break and
# "\\" for a backslash.
fault_tool() { python3 - "$@" <<'PY'
import sys
def load(path):
    faults, cur = [], {}
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith("#"):
            continue
        if not line.strip():
            if cur: faults.append(cur); cur = {}
            continue
        key, _, val = line.partition(":")
        cur[key.strip()] = val[1:] if val.startswith(" ") else val
    if cur: faults.append(cur)
    return faults
def unescape(s):
    return s.replace("\\\\", "\0").replace("\\n", "\n").replace("\0", "\\")
cmd, path = sys.argv[1], sys.argv[2]
faults = load(path)
if cmd == "ids":
    for f in faults: print(f["id"])
elif cmd == "file":
    print(next(f for f in faults if f["id"] == sys.argv[3])["file"])
elif cmd == "desc":
    print(next(f for f in faults if f["id"] == sys.argv[3]).get("desc", ""))
elif cmd == "apply":
    f = next(f for f in faults if f["id"] == sys.argv[3])
    target = sys.argv[4] + "/" + f["file"]
    try:
        text = open(target, encoding="utf-8").read()
    except OSError:
        sys.exit(3)
    find, repl = unescape(f["find"]), unescape(f["repl"])
    if text.count(find) != 1:
        sys.exit(3)
    open(target, "w", encoding="utf-8").write(text.replace(find, repl))
PY
}

echo "== copying the work tree to $tree"
# Only files that differ are copied, with a fresh time stamp: the rest is not rebuilt.
(cd "$root" && find . -path './build*' -prune -o -path ./.git -prune -o -type f -print) | while read -r f; do
  cmp -s "$root/$f" "$tree/$f" || { mkdir -p "$(dirname "$tree/$f")"; cp "$root/$f" "$tree/$f"; }
done
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S "$tree" -B "$build" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORLANE_WERROR=ON -DVORLANE_BUILD_GUI=$gui >/dev/null
fi

# run_suite LOG: runs the suite, prints the failed tests (empty when all pass).
run_suite() {
  local log=$1
  ctest --test-dir "$build" -j2 -E 'robustness|packaging' --timeout 120 --output-on-failure >"$log" 2>&1 || true
  local failed=()
  local f=$build/Testing/Temporary/LastTestsFailed.log
  if grep -q '^[0-9]' "$f" 2>/dev/null && ! grep -q '100% tests passed' "$log"; then
    while IFS=: read -r _ name; do
      if [ "$name" = core ]; then
        local cases
        cases=$(grep -o '^\[  FAILED  \] [A-Za-z0-9_./]*' "$log" | awk '{print $4}' | sort -u | paste -sd, - || true)
        name="core[${cases}]"
      fi
      failed+=("$name")
    done <"$f"
  fi
  echo "${failed[*]:-}"
}

echo "== building and checking the unchanged tree"
cmake --build "$build" >"$scratch/build.log" 2>&1 || { tail -30 "$scratch/build.log"; echo "the unchanged tree does not build"; exit 1; }
clean=$(run_suite "$scratch/clean.log")
[ -n "$clean" ] && { echo "the unchanged tree fails: $clean"; exit 1; }

[ -n "$out" ] && echo "# fault id -> catching tests (scripts/plant-faults.sh, $(date -u +%F))" >"$out"
ids=("$@")
[ ${#ids[@]} -eq 0 ] && mapfile -t ids < <(fault_tool ids "$faults")
results=()
for id in "${ids[@]}"; do
  file=$(fault_tool file "$faults" "$id") || { results+=("$id -> unknown id"); continue; }
  cp "$tree/$file" "$scratch/original" 2>/dev/null || true
  if ! fault_tool apply "$faults" "$id" "$tree"; then
    result="does not apply"
  elif ! cmake --build "$build" >"$scratch/build.log" 2>&1; then
    result="build fails"
  else
    result=$(run_suite "$scratch/$id.log")
    [ -z "$result" ] && result="NOT CAUGHT"
  fi
  # A fresh copy (new time stamp) so the next build recompiles the file; ccache makes it cheap.
  [ -f "$scratch/original" ] && cat "$scratch/original" >"$tree/$file" && rm -f "$scratch/original"
  line="$id -> $result"
  echo "$line   # $(fault_tool desc "$faults" "$id")"
  results+=("$line")
  [ -n "$out" ] && echo "$line" >>"$out"
done
# Rebuild the unchanged tree so the next run starts from it.
cmake --build "$build" >"$scratch/build.log" 2>&1 || true

if [ -n "$out" ]; then
  { caught=$(printf '%s\n' "${results[@]}" | grep -vc -e 'NOT CAUGHT' -e 'does not apply' -e 'build fails' -e 'unknown id' || true)
    echo "# ${#results[@]} faults, $caught caught by a failing test"
  } >>"$out"
fi
