#!/usr/bin/env bash
# Builds everything (installing missing packages) and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
BUILD_DIR=$build_dir "$root/scripts/setup.sh" "$@"
ctest --test-dir "$build_dir" -j2 --output-on-failure --timeout 600
