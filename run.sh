#!/usr/bin/env bash
# Installs what is missing, builds Orvalis and starts it (full screen unless --windowed).
# Extra arguments go to the game: ./run.sh --windowed --scale 3, ./run.sh --help.
set -euo pipefail
cd "$(dirname "$0")"
needs_display=1
for a in "$@"; do
  case "$a" in --headless | --help | --version) needs_display=0 ;; esac
done
if [ "$needs_display" -eq 1 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "orvalis: no display (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session, or headless: ./run.sh --headless --script FILE" >&2
  exit 1
fi
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target orvalis
exec build/run/orvalis "$@"
