#!/usr/bin/env bash
# Packs the Windows build in $1: the portable zip (the programs, the examples
# and a short read-me in one folder; settings go beside the program there) and
# the NSIS installer, both in $1.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=Vorlane-$version-windows
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage/examples"
for program in app/vorlane tools/vorlane-gen tools/vorlane-calc; do
  cp "$build/src/$program.exe" "$stage/"
  x86_64-w64-mingw32-strip "$stage/$(basename "$program").exe"
done
cp "$here"/examples/*.json "$stage/examples/"
sed "s/@VERSION@/$version/" "$here/packaging/windows/README.txt.in" | sed 's/$/\r/' >"$stage/README.txt"

rm -f "$build/$name.zip"
(cd "$build/package" && zip -qr9 "$build/$name.zip" "$name")
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$build/Vorlane-$version-setup.exe" \
  "$here/packaging/windows/vorlane.nsi"
echo "$build/$name.zip"
echo "$build/Vorlane-$version-setup.exe"
