#!/usr/bin/env bash
# Times the game binary from launch: a headless run with a one-frame script (start-up to the first
# presented frame, plus the shutdown and exit), and the scripted game of headless_game.txt. Prints
# the median of RUNS runs of each, and the same for an empty program linked like the game, which is
# the share of the dynamic loader.
#   bench/process_timings.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build-perf}"
runs="${2:-21}"
game="$build/run/orvalis"
[ -x "$game" ] || { echo "no game binary at $game" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf 'frames 1\n' > "$work/one_frame.txt"

# Median wall time in microseconds of running the command RUNS times.
median_us() {
  local times=()
  for ((i = 0; i < runs; i++)); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

echo "one-frame run:      $(median_us "$game" --headless --seed 1234 --script "$work/one_frame.txt") us"
echo "scripted game:      $(median_us "$game" --headless --seed 1234 --script "$here/headless_game.txt") us"

# The same libraries as the game, nothing run.
if command -v cc > /dev/null && command -v pkg-config > /dev/null; then
  printf 'int main(void) { return 0; }\n' > "$work/empty.c"
  if cc "$work/empty.c" -o "$work/empty" -Wl,--no-as-needed \
      $(pkg-config --libs sdl2 SDL2_ttf fontconfig libpng) -lstdc++ 2> /dev/null; then
    echo "empty, same libs:   $(median_us "$work/empty") us"
  fi
fi
