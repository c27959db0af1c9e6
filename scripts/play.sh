#!/usr/bin/env bash
# Builds the game and its data only (installing missing packages) and starts the game from the
# build folder. Arguments go to the game (e.g. --window).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
BUILD_DIR=$build_dir BUILD_TARGETS="tervolin game-data" "$root/scripts/setup.sh"
exec "$build_dir/tervolin" "$@"
