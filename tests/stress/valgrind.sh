#!/usr/bin/env bash
# A whole scripted game under valgrind's memcheck, run by hand: any leak (definite or possible) or
# invalid read or write fails it. Give a build without the sanitizers (default: build-stress).
# Usage: tests/stress/valgrind.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build-stress}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build"/run/*.bmp "$build"/run/*.txt "$work"/
cd "$work"
status=0
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite,possible \
  --errors-for-leak-kinds=definite,possible --error-exitcode=1 --track-origins=yes \
  "$build/run/orvalis" --headless --data . --script "$here/../e2e/whole_game.txt" 2>valgrind.log || status=$?
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|All heap blocks" valgrind.log || true
# The game must really have been played: won, then back at the menu.
if ! grep -q '"game_state": 14' won.json || ! grep -q '"game_state": 9' menu.json; then
  echo "valgrind.sh: the scripted game did not reach the results and the menu" >&2
  status=1
fi
if [ "$status" -ne 0 ]; then
  echo "valgrind.sh: failed (status $status); the log follows" >&2
  cat valgrind.log >&2
fi
exit "$status"
