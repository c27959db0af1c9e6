#!/usr/bin/env bash
# Checks the layering of the engine: no source file of src/<layer>/ includes a header of a layer
# it may not use, and (given the built game) the game executable does not itself need the
# libraries of the build-time content generators.
#   layers_check.sh SRC_DIR [GAME_EXECUTABLE]
set -uo pipefail
src=$1
game=${2:-}

declare -A allowed=(
  [core]=""
  [platform]="core"
  [resources]="core platform"
  [graphics]="core platform resources"
  [fx]="core"
  [rules]="core"
  [ui]="core platform resources graphics fx"
  [app]="core platform resources graphics fx rules ui"
  [content]="core platform resources graphics"
)

status=0
for layer in "${!allowed[@]}"; do
  [[ -d "$src/$layer" ]] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    used=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$hit")
    [[ "$used" == "$layer" ]] && continue
    if [[ " ${allowed[$layer]} " != *" $used "* ]]; then
      echo "layer $layer may not use $used: $hit"
      status=1
    fi
  done < <(grep -rHnE '^\s*#\s*include "[a-z]+/' "$src/$layer" 2>/dev/null)
done

# Inside the game layer, the rooms that keep files, effects and sound serve the screens and never
# reach up into them.
for room in persistence effects audio; do
  [[ -d "$src/app/$room" ]] || continue
  while IFS= read -r hit; do
    echo "app/$room may not use the screens: $hit"
    status=1
  done < <(grep -rHnE '^\s*#\s*include "app/screens/' "$src/app/$room")
done

if [[ -n "$game" ]]; then
  needed=$(readelf -d "$game" | grep NEEDED)
  for lib in librsvg libcairo libglib libgobject libfreetype libvorbisenc; do
    if grep -q "$lib" <<<"$needed"; then
      echo "$game needs $lib"
      status=1
    fi
  done
fi

[[ $status -eq 0 ]] && echo "layers: ok"
exit $status
