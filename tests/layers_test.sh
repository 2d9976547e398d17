#!/usr/bin/env bash
# Includes point down: each folder under src/ may include only itself and the
# layers below it. The build enforces the same through per-layer include
# roots; this check also catches what those cannot see (a path that climbs
# out of its folder with "../", a core header that names a GUI folder).
# Usage: layers_test.sh SRC_DIR
set -u
src=${1:?usage: layers_test.sh SRC_DIR}
gui_layers="gui wizard generate_ui sheet app"
# What each GUI layer may include besides the core's folders.
declare -A allowed=([gui]="gui" [wizard]="wizard gui" [generate_ui]="generate_ui gui" [sheet]="sheet gui"
  [app]="app wizard generate_ui sheet gui")
status=0
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  layer=${rel%%/*}
  while IFS= read -r line; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$line")
    [[ $target == *../* ]] && { echo "$rel: climbs out of its folder: $line"; status=1; continue; }
    folder=${target%%/*}
    [[ $target == */* ]] || continue
    [[ " $gui_layers " == *" $folder "* ]] || continue  # a core folder: below every layer
    if [ "$layer" = core ] || [ "$layer" = tools ] || [[ " ${allowed[$layer]:-} " != *" $folder "* ]]; then
      echo "$rel: $layer may not include $target"; status=1
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
[ $status -eq 0 ] && echo "includes point down"
exit $status
