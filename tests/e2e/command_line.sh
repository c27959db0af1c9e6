#!/usr/bin/env bash
# The game's command line: --help and --version print and exit 0; refused before anything
# starts, bad arguments give the usage, a missing script and a bad script line give their
# reason; all exit with 2. None of them starts the game (no log).
#   command_line.sh GAME
set -uo pipefail
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TERVOLIN_HOME=$work/home SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
printf 'wait 10\nshot title\n' >"$work/shot.txt"

status=0
expect() {  # TEXT-ON-STDERR ARGUMENTS...
  local text=$1
  shift
  "$game" "$@" >/dev/null 2>"$work/err"
  local code=$?
  if [[ "$code" != 2 ]] || ! grep -qF -- "$text" "$work/err"; then
    echo "tervolin $*: exit $code, expected 2 with '$text'; standard error:"
    cat "$work/err"
    status=1
  fi
}
answers() {  # TEXT-ON-STDOUT ARGUMENTS...
  local text=$1
  shift
  "$game" "$@" >"$work/out" 2>&1
  local code=$?
  if [[ "$code" != 0 ]] || ! grep -qF -- "$text" "$work/out"; then
    echo "tervolin $*: exit $code, expected 0 with '$text'; output:"
    cat "$work/out"
    status=1
  fi
}
answers "usage: tervolin" --help
answers "--fullscreen" --help
answers "tervolin 1." --version
expect "usage: tervolin" --headless
expect "usage: tervolin" --unknown
expect "usage: tervolin" --window --fullscreen
expect "usage: tervolin" --help --window
expect "usage: tervolin" --script "$work/shot.txt" --seed x
expect "usage: tervolin" --script "$work/shot.txt" --frames
expect "usage: tervolin" extra
expect "cannot read the script $work/missing.txt" --script "$work/missing.txt" --headless
expect "shot.txt line 2: shot needs --frames DIR" --script "$work/shot.txt" --headless
expect "shot.txt line 2: shot needs --frames DIR" --script "$work/shot.txt"
[[ -e "$work/home/Tervolin.log" ]] && { echo "a refused command line started the game"; status=1; }
[[ $status -eq 0 ]] && echo "ok"
exit $status
