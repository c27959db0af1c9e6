#!/usr/bin/env bash
# Plays one game script with a fresh user folder, headless (or with --window in the window on
# SDL's dummy video driver, on real time), and checks the outcome the script's header declares:
# "# exit: N" (0 when absent), "# stderr: TEXT", a text the error output must hold, and any number
# of "# stdout: LINE", whole lines the standard output must hold. A game that
# started must have closed in order (its log ends the run with the frame rate), and every
# "shot NAME" of a script that ran must have left a PNG file NAME.png.
#   run_script.sh GAME SCRIPT [--window]
set -uo pipefail
game=$1
script=$2
mode=(--headless)
[[ "${3:-}" == --window ]] && mode=()
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TERVOLIN_HOME=$work/home SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

expected_exit=$(sed -n 's/^# exit: *//p' "$script" | head -n 1)
expected_exit=${expected_exit:-0}
expected_stderr=$(sed -n 's/^# stderr: *//p' "$script" | head -n 1)

"$game" --script "$script" "${mode[@]}" --frames "$work/frames" >"$work/out" 2>"$work/err"
code=$?
fail() {
  echo "$1"
  echo "--- standard output"; cat "$work/out"
  echo "--- standard error"; cat "$work/err"
  [[ -f "$work/home/Tervolin.log" ]] && { echo "--- log"; cat "$work/home/Tervolin.log"; }
  exit 1
}
[[ "$code" == "$expected_exit" ]] || fail "exit code $code, expected $expected_exit"
if [[ -n "$expected_stderr" ]] && ! grep -qF -- "$expected_stderr" "$work/err"; then
  fail "standard error lacks: $expected_stderr"
fi
while IFS= read -r line; do
  grep -qxF -- "$line" "$work/out" || fail "standard output lacks the line: $line"
done < <(sed -n 's/^# stdout: //p' "$script")
if [[ "$code" == 0 || "$code" == 3 ]]; then
  grep -qF "} Average FPS: " "$work/home/Tervolin.log" || fail "the game did not close in order"
fi
if [[ "$code" == 0 ]]; then
  while read -r name; do
    [[ "$(head -c 8 "$work/frames/$name.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" == \
       "89504e470d0a1a0a" ]] || fail "no frame $name.png"
  done < <(sed -n 's/^[[:space:]]*shot[[:space:]]\+\([^[:space:]]*\).*/\1/p' "$script")
fi
echo "ok"
