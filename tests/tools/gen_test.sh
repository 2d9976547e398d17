#!/usr/bin/env bash
# vorlane-gen: exit statuses, -o, the messages on standard error, and the
# worked laser example. $1 is the directory that holds the tools.
set -uo pipefail
gen="$1/vorlane-gen"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
status() { [ "$2" -eq "$1" ] || fail "$3: exit status $2, expected $1"; }
values() { grep -a "^$1 " "$2" | tr -d '\r' | sed 's/.*:= //' | tr '\n' '|'; }

# The laser: three entries on standard output, every line ending in CR LF.
"$gen" "$here/../core/data/laser.json" >"$work/out.txt" 2>"$work/err.txt"
status 0 $? "laser"
[ -s "$work/err.txt" ] && fail "laser: standard error: $(cat "$work/err.txt")"
[ "$(values Name "$work/out.txt")" = "Laser 1|Laser 2|Laser 3|" ] || fail "laser: names $(values Name "$work/out.txt")"
[ "$(values 'Cost Minerals' "$work/out.txt")" = "10|20|30|" ] || fail "laser: minerals"
grep -aq "^Cost Minerals                             := 20"$'\r$' "$work/out.txt" || fail "laser: cost line layout"
[ "$(grep -ac $'\r$' "$work/out.txt")" -eq 84 ] && [ "$(wc -l <"$work/out.txt")" -eq 84 ] || fail "laser: line count"

# -o writes the same text to the file, wherever it stands.
"$gen" "$here/../core/data/laser.json" -o "$work/a.txt" >"$work/stdout.txt"
status 0 $? "-o after"
"$gen" -o "$work/b.txt" "$here/../core/data/laser.json"
status 0 $? "-o before"
cmp -s "$work/a.txt" "$work/out.txt" && cmp -s "$work/b.txt" "$work/out.txt" || fail "-o: different text"
[ -s "$work/stdout.txt" ] && fail "-o: standard output not empty"
for example in "$here"/../../examples/*.json; do
  "$gen" "$example" >/dev/null
  status 0 $? "$(basename "$example")"
done

# -o writes the game's encoding, Windows-1252, unless --encoding utf-8 is given;
# standard output stays UTF-8. A character Windows-1252 lacks: status 1, the
# entry and key named, no file.
echo '{"kind": "facility", "FacName": "Läser", "NumFacLevels": 1, "FacDesc": "DESC", "FacFamily": "1", "TechReqs": [], "Abilities": []}' >"$work/umlaut.json"
sed 's/DESC/Zap ☢/' "$work/umlaut.json" >"$work/nuclear.json"
"$gen" "$work/umlaut.json" -o "$work/1252.txt" && "$gen" "$work/umlaut.json" -o "$work/utf8.txt" --encoding UTF-8
status 0 $? "encodings"
grep -aq $'^Name  *:= L\xe4ser\r$' "$work/1252.txt" || fail "Windows-1252: $(head -1 "$work/1252.txt")"
"$gen" "$work/umlaut.json" | cmp -s - "$work/utf8.txt" || fail "UTF-8 file differs from standard output"
"$gen" "$work/nuclear.json" -o "$work/nuclear.txt" 2>"$work/err.txt"
status 1 $? "unencodable"
[ -e "$work/nuclear.txt" ] && fail "unencodable: output file written"
grep -qF 'entry 1 "Läser", key "Description": "☢" (U+2622) cannot be written in Windows-1252' "$work/err.txt" ||
  fail "unencodable: $(cat "$work/err.txt")"

# --check: the report on standard output; 0 clean, 1 found, 2 unreadable.
mkdir -p "$work/game/data"
printf 'Name := Mining\r\n' >"$work/game/data/techarea.txt"
cat >"$work/clean.json" <<'JSON'
{"kind": "facility", "FacName": "Miner", "NumFacLevels": 2, "PicNum": "5", "MinCost": "{10*&faclevel}", "FacFamily": "1",
 "OrgCost": "0", "RadCost": "0", "TechReqs": [{"TechReqArea": "mining", "TechReqLevel": "&faclevel"}],
 "Abilities": []}
JSON
"$gen" --check "$work/clean.json" --game-dir "$work/game" >"$work/check.txt"
status 0 $? "check clean"
grep -q "^Technology areas read from $work/game/data/techarea.txt (1 name).$" "$work/check.txt" &&
  grep -q "^2 entries checked: nothing the game would refuse or misread.$" "$work/check.txt" ||
  fail "check clean: $(cat "$work/check.txt")"
sed 's/"mining"/"Mine Craft"/; s/{10\*&faclevel}/{\&faclevel\/2}/' "$work/clean.json" >"$work/unclean.json"
"$gen" "$work/unclean.json" --check --mod-dir "$work/game" >"$work/check.txt"
status 1 $? "check unclean"
[ "$(grep -c '^entr' "$work/check.txt")" -eq 2 ] &&
  grep -qF 'entry 1 "Miner", key "Cost Minerals": "0.5" is not a whole number in plain digits' "$work/check.txt" &&
  grep -qF 'entries 1, 2, key "Tech Area Req 1": "Mine Craft": no such technology area in' "$work/check.txt" ||
  fail "check unclean: $(cat "$work/check.txt")"
"$gen" --check "$work/missing.json" >/dev/null 2>&1
status 2 $? "check unreadable"

# A failing formula: status 1, the chain on standard error, no output file.
complete='"VehicleType": "Ship", "Restrictions": "None", "Family": "1", "CustomGroup": "0", "HP": "1",
  "TechReqs": [], "Abilities": []'
echo "{\"kind\": \"component\", \"CompName\": \"B\", \"NumCompLevels\": 2, $complete, \"MinCost\": \"{1+2\"}" >"$work/broken.json"
"$gen" "$work/broken.json" -o "$work/broken.txt" 2>"$work/err.txt"
status 1 $? "broken"
[ -e "$work/broken.txt" ] && fail "broken: output file written"
[ "$(cat "$work/err.txt")" = $'Minerals Cost, level 1: Not enough closing braces (character 1)
Error: Error: Not enough closing braces\nError: Error parsing string: \n{1+2
Error: Error during parsing.\nError: Component not generated.' ] || fail "broken: $(cat "$work/err.txt")"
# The located fault comes first: the field as the page names it, the level, the reason with a hint, the character.
sed 's/"MinCost": "{1+2"/"CompDesc": "Deals {\&complevel+sqrt(2)}"/' "$work/broken.json" >"$work/hint.json"
"$gen" "$work/hint.json" 2>"$work/err.txt" >/dev/null
[ "$(head -1 "$work/err.txt")" = 'Component Description, level 1: Function < sqrt > unknown; did you mean sqr? (character 19)' ] ||
  fail "hint: $(head -1 "$work/err.txt")"

# --diff: one line per differing key or added entry; 0 same, 1 differs, 2 unreadable or not generated.
laser="$here/../core/data/laser.json"
sed 's/{&complevel\*10}/{\&complevel*10+(\&complevel=2)}/; s/"NumCompLevels": 3/"NumCompLevels": 4/' "$laser" >"$work/laser4.json"
"$gen" --diff "$laser" "$laser" >"$work/diff.txt"
status 0 $? "diff same"
[ -s "$work/diff.txt" ] && fail "diff same: $(cat "$work/diff.txt")"
"$gen" --diff "$laser" "$work/laser4.json" >"$work/diff.txt"
status 1 $? "diff differs"
[ "$(grep -c . "$work/diff.txt")" -eq 4 ] &&
  grep -qxF 'entry 2 "Laser 2", key "Cost Minerals": "20" -> "21"' "$work/diff.txt" &&
  grep -qxF 'entry 4 "Laser 4": added' "$work/diff.txt" || fail "diff differs: $(cat "$work/diff.txt")"
for pair in "$laser $work/missing.json" "$work/broken.json $laser"; do
  # shellcheck disable=SC2086
  "$gen" --diff $pair >"$work/diff.txt" 2>"$work/err.txt"
  status 2 $? "diff '$pair'"
  [ -s "$work/diff.txt" ] || [ ! -s "$work/err.txt" ] && fail "diff '$pair': output $(cat "$work/diff.txt")"
done
grep -qF "Error: Component not generated." "$work/err.txt" || fail "diff not generated: $(cat "$work/err.txt")"

# What a wizard page would refuse: status 1, the pages' words, no output file.
echo '{"kind": "component", "NumCompLevels": 1, "Restrictions": "None", "Family": "1", "CustomGroup": "0",
  "HP": "1", "TechReqs": [{"TechReqArea": "A"}, {}], "Abilities": []}' >"$work/unfinished.json"
"$gen" "$work/unfinished.json" -o "$work/unfinished.txt" 2>"$work/err.txt"
status 1 $? "unfinished"
[ -e "$work/unfinished.txt" ] && fail "unfinished: output file written"
[ "$(cat "$work/err.txt")" = 'Vorlane: You must enter a name for your component.
Vorlane: You must select at least one vehicle type.
Vorlane: Technology Requirement 2: You must provide a tech area for this tech requirement.
Error: Component not generated.' ] || fail "unfinished: $(cat "$work/err.txt")"

# Unreadable designs and wrong command lines: status 2.
echo '{"kind": "component", "CompName": "x",}' >"$work/malformed.json"
echo '{"kind": "component", "TechReqs": [{"Area": "x"}]}' >"$work/unknown.json"
echo '{"kind": "component", "CompName": "A", "CompName": "B"}' >"$work/twice.json"
echo '{"kind": "component", "CompDesc": "A\nName := Ghost"}' >"$work/break.json"
for case in "missing.json:missing.json" "malformed.json:line 1, column" "unknown.json:/TechReqs/0/Area: unknown key" \
    "twice.json:/CompName: key written twice" "break.json:/CompDesc: holds a line break"; do
  "$gen" "$work/${case%%:*}" -o "$work/none.txt" 2>"$work/err.txt"
  status 2 $? "${case%%:*}"
  grep -qF "${case#*:}" "$work/err.txt" || fail "${case%%:*}: $(cat "$work/err.txt")"
done
[ -e "$work/none.txt" ] && fail "unreadable design: output file written"
for args in "" "$work/unknown.json -o" "$work/unknown.json --bogus" "a.json b.json" \
  "--check $work/clean.json -o x.txt" "$work/clean.json --game-dir /" "$work/clean.json --encoding latin-1" \
  "--diff $work/clean.json" "--diff $work/clean.json $work/clean.json -o x.txt" "--diff --check $work/clean.json $work/clean.json"; do
  # shellcheck disable=SC2086
  "$gen" $args 2>/dev/null
  status 2 $? "arguments '$args'"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all vorlane-gen checks passed"
