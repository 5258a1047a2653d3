#!/usr/bin/env bash
# Two copies of the game at once, with one state folder, each playing its own game and ending TURNS
# turns (a step and Return, over and over, so neither game is ever won): afterwards both games must be
# on the shelf, whole, each as its run left it.
#   bench/two_copies.sh [BUILD_DIR] [TURNS]
set -euo pipefail
turns="${2:-600}"
. "$(dirname "$0")/saves/common.sh"
for copy in a b; do
  mkdir -p "$work/$copy"
  {
    printf 'key down RETURN\nframes 1\nkey up RETURN\nframes 31\nmouse move 320 300\nframes 1\n'
    printf 'mouse down left\nframes 1\nmouse up left\nframes 2\n'
    for ((t = 0; t < turns; t++)); do
      if (( t % 4 < 2 )); then step=DOWN; else step=UP; fi
      printf 'key down %s\nframes 1\nkey up %s\nframes 1\nkey down RETURN\nframes 2\nkey up RETURN\nframes 2\n' "$step" "$step"
    done
    printf 'state end.json\n'
  } > "$work/$copy/script.txt"
done
start=$(date +%s)
(cd "$work/a" && "$game" --headless --data "$build/run" --seed 101 --script script.txt 2>err.txt) &
(cd "$work/b" && "$game" --headless --data "$build/run" --seed 202 --script script.txt 2>err.txt) &
wait
echo "two copies, $turns turns each, $(( $(date +%s) - start )) s"
for copy in a b; do
  python3 -c 'import json, sys; p = json.load(open(sys.argv[1]))["players"]
print(sys.argv[2] + ": turns ended", p["1"]["turns"] + p["2"]["turns"])' "$work/$copy/end.json" "$copy"
done
"$check" "$XDG_STATE_HOME/orvalis" "$work/a/end.json" "$work/b/end.json"
