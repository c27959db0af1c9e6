#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installation: every file in its place,
# the desktop entry and the AppStream file valid, and the installed game, started from elsewhere,
# finding its data under the prefix and writing only to the user folder.
#   install_check.sh BUILD_DIR APP_ID
set -uo pipefail
build=$1
app_id=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "cmake --install failed"; exit 1; }

status=0
fail() {
  echo "$1"
  status=1
}
for file in bin/tervolin share/tervolin/game.zxc share/tervolin/GameParams.xml \
    share/tervolin/lng/enu_0.lng share/tervolin/icons/tervolin.png \
    share/tervolin/screenshots/title.png share/applications/$app_id.desktop \
    share/metainfo/$app_id.metainfo.xml share/icons/hicolor/scalable/apps/tervolin.svg \
    share/man/man6/tervolin.6 share/doc/tervolin/LICENSES.md; do
  [[ -s "$prefix/$file" ]] || fail "missing $file"
done
for size in 16 22 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x$size/apps/tervolin.png
  [[ -s "$prefix/$icon" ]] || fail "missing $icon"
done
desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop entry invalid"
appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" >"$work/appstream" ||
  { cat "$work/appstream"; fail "AppStream file invalid"; }
if command -v man >/dev/null; then
  man --warnings -l "$prefix/share/man/man6/tervolin.6" 2>&1 >/dev/null | grep . &&
    fail "manual page warnings"
fi

# The installed game, run from another folder, starts to its first window and closes in order.
printf 'wait-top WYourName 5000\nquit\n' >"$work/start.script"
find "$prefix" -type f | sort >"$work/before"
(cd "$work" && TERVOLIN_HOME="$work/home" SDL_AUDIODRIVER=dummy \
  "$prefix/bin/tervolin" --script "$work/start.script" --headless >"$work/out" 2>&1) ||
  { cat "$work/out"; fail "the installed game did not run its script"; }
grep -qF "} Average FPS: " "$work/home/Tervolin.log" 2>/dev/null ||
  fail "the game did not close in order"
find "$prefix" -type f | sort | diff "$work/before" - || fail "the game wrote into its installation"
[[ $status -eq 0 ]] && echo "install: ok"
exit $status
