#!/usr/bin/env bash
# Builds everything (installing missing packages) and starts the game from the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
BUILD_DIR=$build_dir "$root/scripts/setup.sh" "$@"
exec "$build_dir/tervolin"
