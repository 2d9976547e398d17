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

# --check: the report on standard output; 0 no errors (--strict: no warnings either), 1 found, 2 unreadable.
mkdir -p "$work/game/data"
printf 'Name := Mining\r\n' >"$work/game/data/techarea.txt"
cat >"$work/clean.json" <<'JSON'
{"kind": "facility", "FacName": "Miner", "NumFacLevels": 2, "NumberStyle": "&faclevel", "PicNum": "5", "MinCost": "{10*&faclevel}", "FacFamily": "1",
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
[ "$(grep -c '^error: entr' "$work/out.txt")" -eq 2 ] || fail "check unclean: $(cat "$work/out.txt")"
has out.txt 'error: entry 1 "Miner 1", key "Cost Minerals": "0.5" is not a whole number in plain digits' "check unclean"
has out.txt 'error: entries 1, 2, key "Tech Area Req 1": "Mine Craft": no such technology area in' "check unclean"
sed 's/"OrgCost": "0"/"OrgCost": ""/' "$work/clean.json" >"$work/blank.json"
run 0 "check warning" --check "$work/blank.json"
line out.txt 'warning: entries 1, 2, key "Cost Organics": the value is empty; the game reads it as 0' "check warning"
line out.txt "2 entries checked: 2 warnings found." "check warning"
run 1 "check strict" --strict --check "$work/blank.json"
sed 's/"NumberStyle": "&faclevel", //' "$work/clean.json" >"$work/unnumbered.json"
run 1 "check names" --check "$work/unnumbered.json"
line out.txt 'error: entry 2 "Miner", key "Name": "Miner" is the name of entry 1 too; the game keeps only one of them' "check names"
# A grid without numbering styles writes "Laser " twice.
echo '{"kind": "component", "CompName": "Laser", "GridComp": true, "NumberStyle": "", "RomanStyle": "",
  "VehicleType": "Ship", "Restrictions": "None", "Family": "1", "CustomGroup": "0", "HP": "1", "MinCost": "1",
  "OrgCost": "0", "RadCost": "0", "Size": "1",
  "TechReqs": [{"TechReqArea": "Lasers", "TechReqLevel": "1", "TechReqGridSize": "2"}], "Abilities": []}' >"$work/grid.json"
run 1 "check grid names" --check "$work/grid.json"
line out.txt 'error: entry 2 "Laser ", key "Name": "Laser" is the name of entry 1 too; the game keeps only one of them' \
  "check grid names"
run 0 "check strict clean" --check "$work/clean.json" --strict
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

# A brace group whose evaluation fails is written as 0, as always, with a
# warning on standard error that names the field, the level and the reason.
echo '{"kind": "facility", "FacName": "Mine", "NumFacLevels": 2, "NumberStyle": "&faclevel", "FacFamily": "1", "MinCost": "{sqr(1-&faclevel)}",
  "TechReqs": [], "Abilities": []}' >"$work/zero.json"
run 0 "written as 0" "$work/zero.json"
[ "$(grep -a "^Cost Minerals" "$work/out.txt" | tr -d '\r' | sed 's/.*:= //' | tr '\n' '|')" = "0|0|" ] ||
  fail "written as 0: $(grep -a "^Cost Minerals" "$work/out.txt")"
[ "$(cat "$work/err.txt")" = 'Warning: Minerals Cost, level 2: Evaluation error < sqr(-1) >; {sqr(1-2)} written as 0 (character 5)' ] ||
  fail "written as 0: $(cat "$work/err.txt")"
# --check lists it as a warning in its entry: status 0, 1 with --strict.
run 0 "written as 0, check" --check "$work/zero.json"
line out.txt 'warning: entry 2 "Mine 2": Minerals Cost, level 2: Evaluation error < sqr(-1) >; {sqr(1-2)} written as 0 (character 5)' \
  "written as 0, check"
run 1 "written as 0, strict" --check --strict "$work/zero.json"

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

# --import and --apply: the modder's loop on a mod's Components.txt. The file
# differs afterwards only in the changed family's entries.
mod="$work/mod/Data"
mkdir -p "$mod"
run 0 "laser for the mod" "$laser" -o "$work/laser1252.txt"
{ printf 'Mod header\r\n*BEGIN*\r\n\r\nName := Other\r\nCost Minerals := 1\r\n\r\n'
  cat "$work/laser1252.txt"; printf 'Name := After\r\n\r\n*END*\r\n'; } >"$mod/Components.txt"
cp "$mod/Components.txt" "$work/original.txt"
run 0 "import list" --import "$mod/Components.txt"
[ "$(cat "$work/out.txt")" = 'Other (1 entry, line 4)
Laser 1..3 (3 entries, line 7)
After (1 entry, line 91)' ] || fail "import list: $(cat "$work/out.txt")"
run 0 "import" --import "$mod/Components.txt" --entry "laser 2 " -o "$work/imported.json"
line err.txt 'imported "Laser 1..3": 3 entries, every key reproduced' "import"
run 0 "imported generates" "$work/imported.json" -o "$work/again.txt"
cmp -s "$work/again.txt" "$work/laser1252.txt" || fail "import: the design does not give the entries back"
grep -q '"MinCost": "{10\*&complevel}"' "$work/imported.json" || fail "import: MinCost $(grep MinCost "$work/imported.json")"
sed 's/"MinCost": "{10\*&complevel}"/"MinCost": "{12*\&complevel}"/' "$work/imported.json" >"$work/changed.json"
run 0 "apply dry run" "$work/changed.json" --apply "$mod/Components.txt" --dry-run
cmp -s "$mod/Components.txt" "$work/original.txt" || fail "dry run: the file changed"
line out.txt 'replaced "Laser 2" (line 35)' "dry run"
line out.txt '  key "Cost Minerals": "20" -> "24"' "dry run"
run 0 "apply" "$work/changed.json" --apply "$mod/Components.txt"
cmp -s "$mod/Components.txt.bak" "$work/original.txt" || fail "apply: no backup"
[ "$(cmp -l "$work/original.txt" "$mod/Components.txt" | wc -l)" -eq 3 ] ||
  fail "apply: other bytes changed: $(diff -a "$work/original.txt" "$mod/Components.txt")"
run 0 "apply again" "$work/changed.json" --apply "$mod/Components.txt"
line out.txt "nothing to change" "apply again"
# Fewer levels: the design remembers what it wrote and removes level 3.
sed 's/"NumCompLevels": 3/"NumCompLevels": 2/' "$work/changed.json" >"$work/two.json"
cp "$work/two.json" "$work/two-before.json"
run 0 "fewer levels" "$work/two.json" --apply "$mod/Components.txt"
line out.txt 'removed "Laser 3" (line 63)' "fewer levels"
grep -q '"Laser 3"' "$work/two.json" && fail "fewer levels: the design still names Laser 3"
# A name another entry holds; a character Windows-1252 lacks; a wrong file.
echo '{"kind": "component", "CompName": "Other", "NumCompLevels": 1, "VehicleType": "Ship", "Restrictions": "None",
  "Family": "1", "CustomGroup": "0", "HP": "1", "CompDesc": "DESC", "TechReqs": [], "Abilities": []}' >"$work/other.json"
cp "$mod/Components.txt" "$work/before-refusal.txt"
run 1 "owned name" "$work/other.json" --apply "$mod/Components.txt"
line out.txt 'refused: "Other": the entry at line 4 holds this name and '"$work/other.json"' did not write it' "owned name"
sed 's/"Other"/"Nuke"/; s/DESC/Zap ☢/' "$work/other.json" >"$work/nuke.json"
run 1 "unencodable" "$work/nuke.json" --apply "$mod/Components.txt"
has out.txt '"☢" (U+2622) cannot be written in Windows-1252' "unencodable"
cmp -s "$mod/Components.txt" "$work/before-refusal.txt" || fail "refusals: the file changed"
run 0 "replace confirmed" "$work/other.json" "$work/two.json" --apply "$mod/Components.txt" --replace
line out.txt 'replaced "Other" (line 4)' "replace confirmed"
run 2 "import unreadable" --import "$work/missing.txt"
run 2 "import no begin" --import "$laser"
has err.txt 'no "*BEGIN*" line' "import no begin"
run 2 "import no entry" --import "$mod/Components.txt" --entry "Laser 9"
run 2 "apply unreadable" "$work/two.json" --apply "$work/missing.txt"

# Unreadable designs and wrong command lines: status 2.
echo '{"kind": "component", "CompName": "x",}' >"$work/malformed.json"
echo '{"kind": "component", "TechReqs": [{"Area": "x"}]}' >"$work/unknown.json"
echo '{"kind": "component", "CompName": "A", "CompName": "B"}' >"$work/twice.json"
echo '{"kind": "component", "CompDesc": "A\nName := Ghost"}' >"$work/break.json"
echo '{"kind": "component", "WeaponType": "Seeking "}' >"$work/seeking.json"
for case in "missing.json:missing.json" "malformed.json:line 1, column" "unknown.json:/TechReqs/0/Area: unknown key" \
    "twice.json:/CompName: key written twice" "break.json:/CompDesc: holds a line break" \
    'seeking.json:/WeaponType: "Seeking " not allowed; it must be one of None,'; do
  run 2 "${case%%:*}" "$work/${case%%:*}" -o "$work/none.txt"
  grep -qF "${case#*:}" "$work/err.txt" || fail "${case%%:*}: $(cat "$work/err.txt")"
done
absent none.txt "unreadable design"
# What is not a regular file is refused at once (a named pipe would wait for a
# writer), and so is a file larger than 64 MiB, unread: status 2. Named pipes
# and device files are POSIX things: the Windows build meets only the large file.
truncate -s 64M "$work/large.vorlane.json" && truncate -s +1 "$work/large.vorlane.json"
cases=("large.vorlane.json:it is larger than 64 MiB")
if [ -z "${VORLANE_TOOL_RUNNER:-}" ]; then
  mkfifo "$work/pipe.vorlane.json"
  ln -s /dev/zero "$work/zero.vorlane.json"
  cases+=("pipe.vorlane.json:it is not a regular file" "zero.vorlane.json:it is not a regular file")
fi
for case in "${cases[@]}"; do
  timeout 60 ${VORLANE_TOOL_RUNNER:-} "$gen" "$work/${case%%:*}" >"$work/out.txt" 2>"$work/err.txt"
  got=$?
  [ "$got" -eq 2 ] && grep -qF "${case#*:}" "$work/err.txt" || fail "${case%%:*}: status $got, $(cat "$work/err.txt")"
done
# Memory that runs out ends the program with a message and status 3, not an
# abort. (Not under AddressSanitizer, which cannot start with its memory
# limited, nor under Wine, which needs more address space than the limit.)
# (The whole of ldd is read: grep -q would stop early, and under pipefail the
# broken pipe would count as "not found".)
if [ -z "${VORLANE_TOOL_RUNNER:-}" ] && ! ldd "$gen" | grep libasan >/dev/null; then
  printf '{"kind": "facility", "FacName": "Mine", "NumFacLevels": 1, "FacFamily": "1", "FacDesc": "%s"}' \
    "$(head -c 40000000 /dev/zero | tr '\0' 'd')" >"$work/huge.json"
  (ulimit -v 200000; "$gen" "$work/huge.json" >/dev/null 2>"$work/err.txt"); got=$?
  [ "$got" -eq 3 ] || fail "out of memory: status $got"
  line err.txt "vorlane-gen: out of memory" "out of memory"
fi
for args in "" "$work/unknown.json -o" "$work/unknown.json --bogus" "a.json b.json" \
  "--check $work/clean.json -o x.txt" "$work/clean.json --game-dir /" "$work/clean.json --strict" "--check --strict --strict $work/clean.json" "$work/clean.json --encoding latin-1" \
  "--diff $work/clean.json" "--diff $work/clean.json $work/clean.json -o x.txt" "--diff --check $work/clean.json $work/clean.json" \
  "--import x.txt $work/clean.json" "--apply x.txt" "$work/clean.json --apply x.txt -o y.txt" "$work/clean.json --dry-run" \
  "--import x.txt --strict" "$work/clean.json --apply x.txt --strict"; do
  # shellcheck disable=SC2086
  run 2 "arguments '$args'" $args
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "all vorlane-gen checks passed"
