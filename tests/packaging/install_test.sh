#!/usr/bin/env bash
# The installed tree and the Debian package. Installs build $1 (sources $2)
# into a temporary DESTDIR, validates the desktop entry, the AppStream
# metadata, the MIME type and the manual pages, runs the installed programs'
# command-line conventions, then builds the package and compares its control
# data and contents with the installed tree. A check that cannot run fails.
set -uo pipefail
export QT_QPA_PLATFORM=offscreen
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# must LOG COMMAND...: runs COMMAND with its output in LOG; a failure shows the log and stops.
must() { local log=$1; shift; "$@" >"$log" 2>&1 || { cat "$log"; echo "FAIL: $*"; exit 1; }; }
id=org.vorlane.Vorlane

for tool in cmake cpack desktop-file-validate appstreamcli update-mime-database man lintian \
            dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
[ "$failures" -eq 0 ] || exit 1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "FAIL: no project version in $build/CMakeCache.txt"; exit 1; }

root="$work/root"
must "$work/install.log" env DESTDIR="$root" cmake --install "$build" --prefix /usr
share="$root/usr/share"

# Every file the install rules promise, and each icon at its size.
expected=(usr/bin/vorlane usr/bin/vorlane-gen usr/bin/vorlane-calc
  "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/mime/packages/$id.xml" "usr/share/icons/hicolor/scalable/apps/$id.svg"
  usr/share/doc/vorlane/copyright usr/share/doc/vorlane/changelog.gz)
for page in vorlane vorlane-gen vorlane-calc; do expected+=("usr/share/man/man1/$page.1.gz"); done
for example in "$src"/examples/*.vorlane.json; do
  expected+=("usr/share/doc/vorlane/examples/$(basename "$example")")
done
for size in 16 22 24 32 48 64 128 256; do
  icon="usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
  expected+=("$icon")
  file -b "$root/$icon" | grep -q "PNG image data, $size x $size," || fail "$icon: $(file -b "$root/$icon")"
done
for f in "${expected[@]}"; do [ -f "$root/$f" ] || fail "not installed: $f"; done
for f in usr/bin/vorlane usr/bin/vorlane-gen usr/bin/vorlane-calc; do [ -x "$root/$f" ] || fail "$f: not executable"; done
(cd "$root" && find . ! -type d | sed 's|^\./||' | sort) >"$work/installed.txt"

# The desktop entry: valid, and naming what is installed.
desktop="$share/applications/$id.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate says: $out"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ -x "$root/usr/bin/$(entry Exec | cut -d' ' -f1)" ] || fail "desktop entry: Exec=$(entry Exec) is not installed"
[ "$(entry Icon)" = "$id" ] || fail "desktop entry: Icon=$(entry Icon)"
mime=$(entry MimeType | tr -d ';')
grep -q "<mime-type type=\"$mime\">" "$share/mime/packages/$id.xml" || fail "desktop entry: MimeType=$mime is not defined"

# The metadata and the changelog: valid, and their newest release is this version.
out=$(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" 2>&1) || fail "appstreamcli validate: $out"
grep -m1 '<release ' "$share/metainfo/$id.metainfo.xml" | grep -q "version=\"$version\"" ||
  fail "metainfo: newest release is not $version"

zcat "$share/doc/vorlane/changelog.gz" | head -1 | grep -q "^vorlane ($version) " || fail "changelog: newest entry is not $version"

# The MIME type: the shared database takes it, and *.vorlane.json is ours.
cp -r "$share/mime" "$work/mime"
update-mime-database "$work/mime" >"$work/mime.log" 2>&1 || fail "update-mime-database: $(cat "$work/mime.log")"
grep -q "^[0-9]*:$mime:\*\.vorlane\.json$" "$work/mime/globs2" || fail "MIME glob *.vorlane.json missing"

# The programs: --help on standard output, --version, wrong options exit 2 with
# the usage on standard error. --help and --version need no display.
run() { "$@" >"$work/out" 2>"$work/err"; echo $?; }
wrong_option() {
  [ "$(run "$@" --no-such-option)" = 2 ] && grep -q "^usage: $program" "$work/err" && [ ! -s "$work/out" ]
}
for program in vorlane vorlane-gen vorlane-calc; do
  bin="$root/usr/bin/$program"
  [ "$(QT_QPA_PLATFORM=no-such-platform run "$bin" --help)" = 0 ] && grep -q "^usage: $program" "$work/out" &&
    [ ! -s "$work/err" ] || fail "$program --help"
  [ "$(QT_QPA_PLATFORM=no-such-platform run "$bin" --version)" = 0 ] &&
    [ "$(cat "$work/out")" = "$program $version" ] || fail "$program --version: $(cat "$work/out" "$work/err")"
  wrong_option "$bin" || fail "$program --no-such-option"
  wrong_option env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$bin" ||
    fail "$program --no-such-option without a display"
  # The manual page reads without warnings and names every option --help shows.
  page="$share/man/man1/$program.1.gz"
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$work/page.txt" 2>"$work/man.err" && [ ! -s "$work/man.err" ] ||
    fail "man $program: $(cat "$work/man.err")"
  "$bin" --help | grep -o -- '--[a-z][a-z-]*' | sort -u | while read -r option; do
    grep -q -- "$option" "$work/page.txt" || echo "FAIL: man $program does not describe $option"
  done | tee "$work/options.txt"
  [ -s "$work/options.txt" ] && failures=$((failures + 1))
done
[ "$(run "$root/usr/bin/vorlane" a.vorlane.json b.vorlane.json)" = 2 ] || fail "vorlane with two design files"
[ "$(run "$root/usr/bin/vorlane-gen" "$share/doc/vorlane/examples/seeking-torpedo.vorlane.json")" = 0 ] ||
  fail "installed vorlane-gen on the installed example: $(cat "$work/err")"

# The package: control data, dependencies found in the binaries, the same
# files as the installed tree, and no lintian errors.
must "$work/cpack.log" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package"
deb=$(echo "$work"/package/vorlane_*.deb)
[ -f "$deb" ] || { echo "FAIL: no package in $work/package"; exit 1; }
field() { dpkg-deb -f "$deb" "$1"; }
dpkg-deb -I "$deb" >"$work/info.txt" || fail "dpkg-deb -I"
[ "$(field Package)" = vorlane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
for dependency in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins; do
  field Depends | grep -q "\(^\|, \)$dependency\( (\|,\|$\)" || fail "Depends lacks $dependency: $(field Depends)"
done
grep -q '^ Description: ' "$work/info.txt" && grep -q '^ Maintainer: .*<.*@.*>' "$work/info.txt" ||
  fail "control data: $(cat "$work/info.txt")"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort >"$work/packaged.txt"
diff "$work/installed.txt" "$work/packaged.txt" >"$work/diff.txt" ||
  fail "package contents differ from the installed tree: $(cat "$work/diff.txt")"
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.txt")"
grep '^[EW]:' "$work/lintian.txt"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "installed tree and package are complete"
