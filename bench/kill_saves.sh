#!/usr/bin/env bash
# Kills the game with SIGKILL at random moments while a script ends turn after turn (a step and
# Return, over and over, so the game is never won), each turn's end a save, and looks at the saved
# games after each kill: none may be damaged. Most runs continue the newest game (its file is written
# over again and again), some start a new one. After the last kill, one more start must leave no
# temporary file behind.
#   bench/kill_saves.sh [BUILD_DIR] [KILLS] [SEED]
# Prints the damaged games after each kill that finds any, and the totals. Run it under nice: each
# kill starts the game afresh.
set -euo pipefail
kills="${2:-1000}"
RANDOM="${3:-1}"
. "$(dirname "$0")/saves/common.sh"
start='key down RETURN\nframes 1\nkey up RETURN\nframes 31\nmouse move 320 300\nframes 1\nmouse down left\nframes 1\nmouse up left\nframes 2\n'
turns() {
  for ((t = 0; t < 20000; t++)); do
    if (( t % 4 < 2 )); then step=DOWN; else step=UP; fi
    printf 'key down %s\nframes 1\nkey up %s\nframes 1\nkey down RETURN\nframes 2\nkey up RETURN\nframes 2\n' "$step" "$step"
  done
}
{ printf "$start"; turns; } > "$work/new.txt"
turns > "$work/resume.txt"

damaged_kills=0 temporaries_seen=0
for ((k = 1; k <= kills; k++)); do
  if (( k == 1 || RANDOM % 5 == 0 )); then args=(--script "$work/new.txt"); else args=(--resume --script "$work/resume.txt"); fi
  "$game" --headless --data "$build/run" --seed "$k" "${args[@]}" 2>/dev/null &
  pid=$!
  # Somewhere between the start-up and a couple of seconds of play.
  sleep "0.$(( RANDOM % 10 ))$(( RANDOM % 10 ))" ; sleep $(( RANDOM % 2 ))
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if ls "$XDG_STATE_HOME/orvalis/" 2>/dev/null | grep -q '\.tmp-'; then temporaries_seen=$((temporaries_seen + 1)); fi
  if ! report=$("$check" "$XDG_STATE_HOME/orvalis"); then
    damaged_kills=$((damaged_kills + 1))
    echo "kill $k: $report"
  fi
done
printf 'frames 2\n' > "$work/start.txt"
"$game" --headless --data "$build/run" --script "$work/start.txt" 2>/dev/null || true
echo "kills: $kills; kills after which a game was damaged: $damaged_kills;" \
  "kills that left a temporary file: $temporaries_seen"
echo "after the next start: $("$check" "$XDG_STATE_HOME/orvalis")"
