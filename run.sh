#!/usr/bin/env bash
# Installs what is missing, builds Orvalis and starts it full screen. Extra arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target orvalis
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [[ " $* " != *" --headless "* ]]; then
  echo "orvalis: no display found (DISPLAY and WAYLAND_DISPLAY are unset); run it on a desktop, or headless: ./run.sh --headless --script FILE" >&2
  exit 1
fi
cd build/run
exec ./orvalis "$@"
