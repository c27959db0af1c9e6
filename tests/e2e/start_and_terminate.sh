#!/usr/bin/env bash
# Starts the game with an empty user folder on SDL's dummy drivers, lets it run passes, sends
# SIGTERM and expects an orderly exit (code 0 within 3 seconds) with the start-up and shutdown
# lines in the run log; then starts it again to see the working archive reused.
set -euo pipefail
game=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export TERVOLIN_HOME=$home SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

run_once() {
  "$game" &
  local pid=$!
  # Start-up takes longer on a loaded machine or in a sanitizer build: the signal comes once the
  # game has started and run a few passes.
  local waited=0
  until grep -qF "} Game Started..." "$home/Tervolin.log" 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
    ((waited < 300)) || break
  done
  sleep 0.5
  kill -TERM "$pid"
  local waited=0
  while kill -0 "$pid" 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
    if ((waited > 30)); then
      echo "the game did not exit within 3 seconds of SIGTERM"
      kill -KILL "$pid"
      return 1
    fi
  done
  wait "$pid"
}

run_once || { echo "exit code $?"; exit 1; }
log=$home/Tervolin.log
expected=("Tervolin Pub. Version: 1.03" "System Information" "   OS Version: " "   Processor: "
  "   Total Memory: " "Form Create Method runed." "Bass init Ok..." "File Folders morfed Ok..." "Kel Font Loaded Ok..."
  "Prepare for Game run..." "Init Direct Draw Ok..." "Surface mode: B8G8R8"
  "Pictures from Folder Load Ok..." "resource List Reinit Surfaces Ok..." "Game Started..."
  "Free Space on drive " "Average FPS: ")
line=0
for message in "${expected[@]}"; do
  found=$(grep -n -F -- "} $message" "$log" | head -n 1 | cut -d: -f1 || true)
  if [[ -z "$found" || "$found" -le "$line" ]]; then
    echo "missing or out of order: '$message'"
    cat "$log"
    exit 1
  fi
  line=$found
done
grep -qvE '^\{[0-9]+:[0-9]+:[0-9]+\} ' "$log" && { echo "a line without its time prefix"; cat "$log"; exit 1; }

copy=$home/temp/game.zxc
[[ -f "$copy" ]] || { echo "no working archive"; exit 1; }
before=$(stat -c %Y.%s "$copy")
sleep 1
run_once
[[ "$(stat -c %Y.%s "$copy")" == "$before" ]] || { echo "the working archive was rebuilt"; exit 1; }
echo "ok"
