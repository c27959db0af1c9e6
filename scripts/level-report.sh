#!/usr/bin/env bash
# Plays every level of an archive with the level bot, for seeds 1 to 5 in Action and in Relax
# mode (in parallel on the machine's cores), and prints a Markdown table: level, wins per mode,
# median game seconds and median score per mode.
#   scripts/level-report.sh [ARCHIVE] [LEVELS]
# ARCHIVE defaults to build/game.zxc and LEVELS to "1 2 ... 41"; the bot is
# build/tools/tervolin-tool unless TERVOLIN_TOOL names another.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export ARCHIVE=${1:-$root/build/game.zxc}
levels=${2:-$(seq 1 41)}
export TOOL=${TERVOLIN_TOOL:-$root/build/tools/tervolin-tool}
export RESULTS
RESULTS=$(mktemp -d)
trap 'rm -rf "$RESULTS"' EXIT
[ -x "$TOOL" ] || { echo "no bot at $TOOL: build tervolin-tool first" >&2; exit 2; }
[ -f "$ARCHIVE" ] || { echo "no archive at $ARCHIVE" >&2; exit 2; }

# One run per line "LEVEL MODE SEED"; each writes the bot's line into its own file.
for level in $levels; do
  for mode in action relax; do
    for seed in 1 2 3 4 5; do echo "$level $mode $seed"; done
  done
done | xargs -P "$(nproc)" -L 1 sh -c \
  '"$TOOL" bot "$ARCHIVE" "$0" --mode "$1" --seed "$2" > "$RESULTS/$0-$1-$2" 2>&1 || true'

# The median of the numbers on standard input (the lower middle one for an even count).
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }
field() { grep -ho "$1=[^ ]*" "$RESULTS"/"$2"-"$3"-* 2>/dev/null | cut -d= -f2; }

echo "| level | Action wins | Action median s | Action median score | Relax wins | Relax median s | Relax median score |"
echo "|---|---|---|---|---|---|---|"
for level in $levels; do
  row="| $level"
  for mode in action relax; do
    wins=$(field result "$level" "$mode" | grep -c '^won$' || true)
    row="$row | $wins/5 | $(field game-s "$level" "$mode" | median) | $(field score "$level" "$mode" | median)"
  done
  echo "$row |"
done
