# What the saves' drivers share, sourced by them: the build folder (the first argument, or ../build),
# the game and the checker in it, and a temporary folder, removed at the end, whose state/ is the
# runs' $XDG_STATE_HOME.
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"
game="$build/run/orvalis"
check="$build/bench/orvalis_saves_check"
[ -x "$game" ] && [ -x "$check" ] || { echo "build orvalis and orvalis_saves_check first" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_STATE_HOME="$work/state"
