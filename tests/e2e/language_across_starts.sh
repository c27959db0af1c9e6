#!/usr/bin/env bash
# The headless scripted mode keeps the language in the user folder's registry.ini, as the game in
# a window does: German chosen on the title in one run is read back by the next run, which would
# otherwise store the desktop's language or English there.
#   language_across_starts.sh GAME
set -uo pipefail
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy LC_ALL=C LANG=C
fail() {
  echo "$1"
  exit 1
}

cat >"$work/choose.script" <<'SCRIPT'
wait-top WYourName 5000
type Ada
press WYourName_BOk
press WTitle_BLanguage
press WLanguage_RBDEU
press WLanguage_BOk
expect-top WTitle
SCRIPT
cat >"$work/title.script" <<'SCRIPT'
wait-top WTitle 5000
wait 500
shot title
SCRIPT

play() {  # HOME-NAME SCRIPT FRAMES
  mkdir -p "$work/$3"
  TERVOLIN_HOME=$work/$1 "$game" --script "$work/$2" --headless --frames "$work/$3" \
    >"$work/out" 2>&1 || { cat "$work/out"; fail "$2 failed"; }
}

play chosen choose.script chosen-1
grep -qix 'LangStr=deu' "$work/chosen/registry.ini" || fail "registry.ini holds no German"
play chosen title.script chosen-2
grep -qix 'LangStr=deu' "$work/chosen/registry.ini" || fail "the second run lost the German"
echo "ok"
