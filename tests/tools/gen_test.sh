#!/usr/bin/env bash
# vorlane-gen: exit statuses, -o, the messages on standard error, and the
# worked laser example. $1 is the directory that holds the tools;
# VORLANE_TOOL_RUNNER, when set, runs them (wine for the Windows build).
set -uo pipefail
gen="$1/vorlane-gen"
[ -e "$gen" ] || gen+=.exe  # the Windows build
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# run STATUS LABEL ARGS...: runs vorlane-gen with standard output in out.txt and
# standard error in err.txt, and expects the exit status.
run() {
  local want=$1 label=$2 got; shift 2
  ${VORLANE_TOOL_RUNNER:-} "$gen" "$@" >"$work/out.txt" 2>"$work/err.txt"; got=$?
  [ "$got" -eq "$want" ] || fail "$label: exit status $got, expected $want"
}
# has FILE TEXT LABEL: FILE (out.txt or err.txt) holds TEXT; line: as its own line.
has() { grep -qF -- "$2" "$work/$1" || fail "$3: $(cat "$work/$1")"; }
line() { grep -qxF -- "$2" "$work/$1" || fail "$3: $(cat "$work/$1")"; }
# absent FILE LABEL: the output file FILE was not written.
absent() { [ -e "$work/$1" ] && fail "$2: output file written"; }
laser="$here/../core/data/laser.json"

# The laser: three entries on standard output, every line ending in CR LF.
run 0 "laser" "$laser"
cp "$work/out.txt" "$work/laser.txt"
[ -s "$work/err.txt" ] && fail "laser: standard error: $(cat "$work/err.txt")"
names=$(grep -a "^Name " "$work/laser.txt" | tr -d '\r' | sed 's/.*:= //' | tr '\n' '|')
[ "$names" = "Laser 1|Laser 2|Laser 3|" ] || fail "laser: names $names"
[ "$(grep -ac $'\r$' "$work/laser.txt")" -eq 84 ] && [ "$(wc -l <"$work/laser.txt")" -eq 84 ] || fail "laser: line count"

# -o writes the same text to the file, wherever it stands.
run 0 "-o after" "$laser" -o "$work/a.txt"
[ -s "$work/out.txt" ] && fail "-o: standard output not empty"
run 0 "-o before" -o "$work/b.txt" "$laser"
cmp -s "$work/a.txt" "$work/laser.txt" && cmp -s "$work/b.txt" "$work/laser.txt" || fail "-o: different text"
for example in "$here"/../../examples/*.json; do run 0 "$(basename "$example")" "$example"; done

# -o writes the game's encoding, Windows-1252, unless --encoding utf-8 is given;
# standard output stays UTF-8. A character Windows-1252 lacks: status 1, the
# entry and key named, no file.
echo '{"kind": "facility", "FacName": "Läser", "NumFacLevels": 1, "FacDesc": "DESC", "FacFamily": "1", "TechReqs": [], "Abilities": []}' >"$work/umlaut.json"
sed 's/DESC/Zap ☢/' "$work/umlaut.json" >"$work/nuclear.json"
run 0 "Windows-1252" "$work/umlaut.json" -o "$work/1252.txt"
run 0 "UTF-8" "$work/umlaut.json" -o "$work/utf8.txt" --encoding UTF-8
grep -aq $'^Name  *:= L\xe4ser\r$' "$work/1252.txt" || fail "Windows-1252: $(head -1 "$work/1252.txt")"
run 0 "standard output" "$work/umlaut.json"
cmp -s "$work/out.txt" "$work/utf8.txt" || fail "UTF-8 file differs from standard output"
run 1 "unencodable" "$work/nuclear.json" -o "$work/nuclear.txt"
absent nuclear.txt "unencodable"
has err.txt 'entry 1 "Läser", key "Description": "☢" (U+2622) cannot be written in Windows-1252' "unencodable"

# --check: the report on standard output; 0 clean, 1 found, 2 unreadable.
mkdir -p "$work/game/data"
printf 'Name := Mining\r\n' >"$work/game/data/techarea.txt"
cat >"$work/clean.json" <<'JSON'
{"kind": "facility", "FacName": "Miner", "NumFacLevels": 2, "PicNum": "5", "MinCost": "{10*&faclevel}", "FacFamily": "1",
 "OrgCost": "0", "RadCost": "0", "TechReqs": [{"TechReqArea": "mining", "TechReqLevel": "&faclevel"}],
 "Abilities": []}
JSON
run 0 "check clean" --check "$work/clean.json" --game-dir "$work/game"
# (Windows names the file with its own separators, in the letter case asked for.)
tr '\\' / <"$work/out.txt" | grep -qixF "Technology areas read from $work/game/data/techarea.txt (1 name)." ||
  fail "check clean: $(cat "$work/out.txt")"
line out.txt "2 entries checked: nothing the game would refuse or misread." "check clean"
sed 's/"mining"/"Mine Craft"/; s/{10\*&faclevel}/{\&faclevel\/2}/' "$work/clean.json" >"$work/unclean.json"
run 1 "check unclean" "$work/unclean.json" --check --mod-dir "$work/game"
[ "$(grep -c '^entr' "$work/out.txt")" -eq 2 ] || fail "check unclean: $(cat "$work/out.txt")"
has out.txt 'entry 1 "Miner", key "Cost Minerals": "0.5" is not a whole number in plain digits' "check unclean"
has out.txt 'entries 1, 2, key "Tech Area Req 1": "Mine Craft": no such technology area in' "check unclean"
run 2 "check unreadable" --check "$work/missing.json"

# A failing formula: status 1, the chain on standard error, no output file.
complete='"VehicleType": "Ship", "Restrictions": "None", "Family": "1", "CustomGroup": "0", "HP": "1",
  "TechReqs": [], "Abilities": []'
echo "{\"kind\": \"component\", \"CompName\": \"B\", \"NumCompLevels\": 2, $complete, \"MinCost\": \"{1+2\"}" >"$work/broken.json"
run 1 "broken" "$work/broken.json" -o "$work/broken.txt"
absent broken.txt "broken"
[ "$(cat "$work/err.txt")" = $'Minerals Cost, level 1: Not enough closing braces (character 1)
Error: Error: Not enough closing braces\nError: Error parsing string: \n{1+2
Error: Error during parsing.\nError: Component not generated.' ] || fail "broken: $(cat "$work/err.txt")"
# The located fault comes first: the field as the page names it, the level, the reason with a hint, the character.
sed 's/"MinCost": "{1+2"/"CompDesc": "Deals {\&complevel+sqrt(2)}"/' "$work/broken.json" >"$work/hint.json"
run 1 "hint" "$work/hint.json"
[ "$(head -1 "$work/err.txt")" = 'Component Description, level 1: Function < sqrt > unknown; did you mean sqr? (character 19)' ] ||
  fail "hint: $(head -1 "$work/err.txt")"

# --diff: one line per differing key or added entry; 0 same, 1 differs, 2 unreadable or not generated.
sed 's/{&complevel\*10}/{\&complevel*10+(\&complevel=2)}/; s/"NumCompLevels": 3/"NumCompLevels": 4/' "$laser" >"$work/laser4.json"
run 0 "diff same" --diff "$laser" "$laser"
[ -s "$work/out.txt" ] && fail "diff same: $(cat "$work/out.txt")"
run 1 "diff differs" --diff "$laser" "$work/laser4.json"
[ "$(grep -c . "$work/out.txt")" -eq 4 ] || fail "diff differs: $(cat "$work/out.txt")"
line out.txt 'entry 2 "Laser 2", key "Cost Minerals": "20" -> "21"' "diff differs"
line out.txt 'entry 4 "Laser 4": added' "diff differs"
for pair in "$laser $work/missing.json" "$work/broken.json $laser"; do
  # shellcheck disable=SC2086
  run 2 "diff '$pair'" --diff $pair
  [ -s "$work/out.txt" ] || [ ! -s "$work/err.txt" ] && fail "diff '$pair': output $(cat "$work/out.txt")"
done
has err.txt "Error: Component not generated." "diff not generated"

# What a wizard page would refuse: status 1, the pages' words, no output file.
echo '{"kind": "component", "NumCompLevels": 1, "Restrictions": "None", "Family": "1", "CustomGroup": "0",
  "HP": "1", "TechReqs": [{"TechReqArea": "A"}, {}], "Abilities": []}' >"$work/unfinished.json"
run 1 "unfinished" "$work/unfinished.json" -o "$work/unfinished.txt"
absent unfinished.txt "unfinished"
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
  run 2 "${case%%:*}" "$work/${case%%:*}" -o "$work/none.txt"
  grep -qF "${case#*:}" "$work/err.txt" || fail "${case%%:*}: $(cat "$work/err.txt")"
done
absent none.txt "unreadable design"
for args in "" "$work/unknown.json -o" "$work/unknown.json --bogus" "a.json b.json" \
  "--check $work/clean.json -o x.txt" "$work/clean.json --game-dir /" "$work/clean.json --encoding latin-1" \
  "--diff $work/clean.json" "--diff $work/clean.json $work/clean.json -o x.txt" "--diff --check $work/clean.json $work/clean.json"; do
  # shellcheck disable=SC2086
  run 2 "arguments '$args'" $args
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all vorlane-gen checks passed"
