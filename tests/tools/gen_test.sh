#!/usr/bin/env bash
# vorlane-gen: exit statuses, -o, the messages on standard error, and the
# worked laser example. $1 is the directory that holds the tools.
set -uo pipefail
gen="$1/vorlane-gen"
data="$(cd "$(dirname "$0")/../core/data" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

expect_status() {  # expected actual what
  [ "$1" -eq "$2" ] || fail "$3: exit status $2, expected $1"
}

# --- the laser: three entries on standard output, CR LF line ends
"$gen" "$data/laser.json" >"$work/out.txt" 2>"$work/err.txt"
expect_status 0 $? "laser"
[ -s "$work/err.txt" ] && fail "laser: unexpected standard error: $(cat "$work/err.txt")"
names=$(grep -a '^Name ' "$work/out.txt" | tr -d '\r' | sed 's/.*:= //' | tr '\n' '|')
[ "$names" = "Laser 1|Laser 2|Laser 3|" ] || fail "laser: names were '$names'"
minerals=$(grep -a '^Cost Minerals ' "$work/out.txt" | tr -d '\r' | sed 's/.*:= //' | tr '\n' '|')
[ "$minerals" = "10|20|30|" ] || fail "laser: minerals were '$minerals'"
grep -aq "^Cost Minerals                             := 20"$'\r'"\$" "$work/out.txt" ||
  fail "laser: the layout of the level-2 cost line"
[ "$(grep -ac $'\r$' "$work/out.txt")" -eq "$(wc -l <"$work/out.txt")" ] || fail "laser: a line without CR LF"
[ "$(wc -l <"$work/out.txt")" -eq 84 ] || fail "laser: $(wc -l <"$work/out.txt") lines, expected 84"

# --- -o writes the same text to a file and nothing to standard output
"$gen" "$data/laser.json" -o "$work/laser.txt" >"$work/stdout.txt"
expect_status 0 $? "laser -o"
cmp -s "$work/laser.txt" "$work/out.txt" || fail "-o: file differs from standard output"
[ -s "$work/stdout.txt" ] && fail "-o: standard output not empty"
"$gen" -o "$work/first.txt" "$data/laser.json"
expect_status 0 $? "-o before the design"
cmp -s "$work/first.txt" "$work/out.txt" || fail "-o before the design: different text"

# --- the sample designs all generate
for example in "$(dirname "$0")"/../../examples/*.json; do
  "$gen" "$example" >"$work/example.txt" 2>"$work/err.txt"
  expect_status 0 $? "$(basename "$example")"
  [ -s "$work/example.txt" ] || fail "$(basename "$example"): no output"
done

# --- a failing formula: status 1, the chain on standard error, no file
cat >"$work/broken.json" <<'EOF'
{"kind": "component", "CompName": "Broken", "NumCompLevels": 2, "MinCost": "{1+2"}
EOF
"$gen" "$work/broken.json" -o "$work/broken.txt" >"$work/stdout.txt" 2>"$work/err.txt"
expect_status 1 $? "broken"
[ -e "$work/broken.txt" ] && fail "broken: output file was written"
[ -s "$work/stdout.txt" ] && fail "broken: standard output not empty"
expected=$'Error: Error: Not enough closing braces\nError: Error parsing string: \n{1+2\nError: Error during parsing.\nError: Component not generated.'
[ "$(cat "$work/err.txt")" = "$expected" ] || fail "broken: standard error was: $(cat "$work/err.txt")"

cat >"$work/grid.json" <<'EOF'
{"kind": "facility", "FacName": "Mine", "GridFac": true, "TechReqs": []}
EOF
"$gen" "$work/grid.json" >/dev/null 2>"$work/err.txt"
expect_status 1 $? "grid without requirements"
expected=$'Error: Grid facilities must have tech requirements.\nFacility not generated'
[ "$(cat "$work/err.txt")" = "$expected" ] || fail "grid: standard error was: $(cat "$work/err.txt")"

# --- unreadable designs and a wrong command line: status 2
"$gen" "$work/missing.json" -o "$work/missing.txt" 2>"$work/err.txt"
expect_status 2 $? "missing design"
grep -q "missing.json" "$work/err.txt" || fail "missing design: message does not name the file"
[ -e "$work/missing.txt" ] && fail "missing design: output file was written"

echo '{"kind": "component", "CompName": "x",}' >"$work/malformed.json"
"$gen" "$work/malformed.json" 2>"$work/err.txt"
expect_status 2 $? "malformed design"
grep -q "line 1, column" "$work/err.txt" || fail "malformed design: $(cat "$work/err.txt")"

echo '{"kind": "component", "TechReqs": [{"Area": "x"}]}' >"$work/unknown.json"
"$gen" "$work/unknown.json" 2>"$work/err.txt"
expect_status 2 $? "unknown key"
grep -q "/TechReqs/0/Area: unknown key" "$work/err.txt" || fail "unknown key: $(cat "$work/err.txt")"

"$gen" 2>/dev/null
expect_status 2 $? "no arguments"
"$gen" "$data/laser.json" -o 2>/dev/null
expect_status 2 $? "-o without a file"
"$gen" "$data/laser.json" --bogus 2>/dev/null
expect_status 2 $? "unknown option"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all vorlane-gen checks passed"
