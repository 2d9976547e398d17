#!/usr/bin/env bash
# Checks the Windows tools under Wine against the Linux build: every example
# and every design the core tests use gives the same bytes on standard output
# (UTF-8) and in a file (Windows-1252, CR LF); a design in a folder and under a
# name outside ASCII ("Jörg", "Läser Mk II.vorlane.json") is read and written,
# and messages naming it, and expressions holding such characters, come out as
# the Linux build writes them.
#   $1 the folder of the Windows tools, $2 that of the Linux tools
set -uo pipefail
win=$(cd "$1" && pwd) linux=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# same LABEL ARGS...: both builds of vorlane-gen (or of the tool named by
# $tool) give the same standard output, standard error and exit status.
tool=vorlane-gen
same() {
  local label=$1 l w; shift
  "$linux/$tool" "$@" >"$work/l.out" 2>"$work/l.err"; l=$?
  wine "$win/$tool.exe" "$@" >"$work/w.out" 2>"$work/w.err"; w=$?
  [ "$l" -eq "$w" ] || fail "$label: exit status $w, Linux $l"
  cmp -s "$work/l.out" "$work/w.out" || fail "$label: standard output differs: $(cmp "$work/l.out" "$work/w.out")"
  cmp -s "$work/l.err" "$work/w.err" || fail "$label: standard error differs: $(cat "$work/w.err")"
}

designs=("$here"/examples/*.json "$here"/tests/core/data/*.json)
for design in "${designs[@]}"; do
  name=$(basename "$design")
  same "$name" "$design"
  [ -s "$work/w.out" ] || fail "$name: no entries"
  same "$name -o" "$design" -o "$work/windows-1252.txt"
  mv "$work/windows-1252.txt" "$work/w.txt"
  "$linux/vorlane-gen" "$design" -o "$work/l.txt"
  cmp -s "$work/l.txt" "$work/w.txt" || fail "$name -o: the file differs"
done

# A design in a folder named outside ASCII, under such a name, with such a facility name.
mkdir "$work/Jörg"
sed 's/"FacName": "[^"]*"/"FacName": "Läser Mk II"/' "$here/examples/mine-grid.vorlane.json" >"$work/Jörg/Läser Mk II.vorlane.json"
grep -q 'Läser Mk II' "$work/Jörg/Läser Mk II.vorlane.json" || fail "no facility name to change in the example"
cd "$work/Jörg" || exit 1
same "Läser" "Läser Mk II.vorlane.json"
same "Läser -o" "$work/Jörg/Läser Mk II.vorlane.json" -o "Läser Mk II.txt"
[ -s "Läser Mk II.txt" ] && grep -aq $'^Name  *:= L\xe4ser Mk II' "Läser Mk II.txt" || fail "Läser -o: no Windows-1252 name in the file"
same "missing Ö" "Fehlt Ö.vorlane.json"
grep -q "Fehlt Ö.vorlane.json" "$work/w.err" || fail "missing Ö: $(cat "$work/w.err")"
same "diff" --diff "Läser Mk II.vorlane.json" "$work/Jörg/Läser Mk II.vorlane.json"
tool=vorlane-calc
same "calc" 'len("Jörg ☢")'
same "calc error" '1+föö(2)'

count=$((${#designs[@]} + 1))
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "vorlane-gen.exe wrote the Linux build's bytes for $count designs; names outside ASCII work"
