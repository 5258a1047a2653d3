#!/usr/bin/env bash
# Installs the game into a throwaway root and runs the installed binary headless from another folder:
#   install_test.sh BUILD_DIR        cmake --install with DESTDIR (the layout that build configured)
#   install_test.sh --deb FILE.deb   the package unpacked with dpkg-deb -x (Debian's games layout)
# The installed game must find its data in the installed data folder, write nothing but into the
# player's XDG folders, and name one version everywhere: --version, the manual page, the AppStream
# releases and the package.
set -euo pipefail
root=$(realpath "$(mktemp -d)")
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"
dest="$root/dest"
if [ "${1:-}" = "--deb" ]; then
  deb=$(realpath "$2")
  dpkg-deb -x "$deb" "$dest"
  version=$(dpkg-deb -f "$deb" Version)
  prefix="$dest/usr" bin="$dest/usr/games/orvalis" data="$dest/usr/share/games/orvalis"
  man="$prefix/share/man/man6/orvalis.6.gz"
  [ -f "$prefix/share/doc/orvalis/copyright" ] || { echo "no copyright file"; exit 1; }
else
  build=$1
  cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
  DESTDIR="$dest" cmake --install "$build" --prefix /usr/local >/dev/null
  version=$(cache CMAKE_PROJECT_VERSION)
  prefix="$dest/usr/local" bin="$dest/usr/local/$(cache CMAKE_INSTALL_BINDIR)/orvalis"
  data="$dest/usr/local/$(cache ORVALIS_DATADIR)"
  man="$prefix/share/man/man6/orvalis.6"
fi
metainfo="$prefix/share/metainfo/io.orvalis.Orvalis.metainfo.xml"
desktop="$prefix/share/applications/orvalis.desktop"

for f in "$bin" "$data/mm_main.bmp" "$data/10c.txt" "$data/snd_step.wav" "$data/music_menu.wav" "$desktop" \
         "$metainfo" "$man"; do
  [ -e "$f" ] || { echo "not installed: ${f#"$dest"}"; exit 1; }
done
[ "$(ls "$data"/*.bmp | wc -l)" -eq 26 ] || { echo "expected the 26 art files"; exit 1; }
[ "$(ls "$data"/*.wav | wc -l)" -eq 21 ] || { echo "expected the 21 sound files"; exit 1; }
[ ! -e "$data/d-bug_log.txt" ] || { echo "the debug log must not be installed"; exit 1; }
# Each icon in the folder of its size.
icons=0
for icon in "$prefix"/share/icons/hicolor/*/apps/orvalis.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  # A PNG's width and height are the big-endian words at bytes 16 and 20.
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | xargs | tr ' ' x)" = "$size" ] ||
    { echo "${icon#"$dest"} is not $size"; exit 1; }
  icons=$((icons + 1))
done
[ "$icons" -ge 3 ] || { echo "expected the icons in the hicolor theme"; exit 1; }

# One version: the package's (or the project's), the game's, the manual page's, the newest release's.
[ "$("$bin" --version)" = "orvalis $version" ] || { echo "--version: $("$bin" --version), not $version"; exit 1; }
page=$(if [ "${man%.gz}" != "$man" ]; then zcat "$man"; else cat "$man"; fi)
grep -q "^\.TH ORVALIS 6 \"[0-9-]*\" \"Orvalis $version\"" <<<"$page" || { echo "the manual page is not $version"; exit 1; }
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1)
[ "$newest" = "<release version=\"$version\"" ] || { echo "the newest AppStream release is not $version: $newest"; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
if command -v appstreamcli >/dev/null; then appstreamcli validate --no-net --explain "$metainfo" >/dev/null ||
  { appstreamcli validate --no-net --explain "$metainfo"; exit 1; }; fi

# A player's run from an unrelated folder, with a home of its own: the data comes from the installed
# folder, and files appear only in the player's XDG folders, even for root, who could write anywhere.
player="$root/player"
mkdir -p "$player/elsewhere"
printf 'frames 3\nkey down RETURN\nframes 1\nkey up RETURN\nframes 31\nstate out.json\n' >"$player/elsewhere/s.txt"
run_as_player() {
  (cd "$player/elsewhere" && env -u XDG_CONFIG_HOME -u XDG_STATE_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME \
    HOME="$player/home" "$@")
}
before=$(cd "$dest" && find . | sort)
run_as_player "$bin" --headless --seed 1 --script s.txt
grep -q '"menu_panel_w": 240' "$player/elsewhere/out.json" || { echo "the installed game did not run the menu"; exit 1; }
run_as_player "$bin" --help | grep -q -- '--record FILE'
[ "$(cd "$dest" && find . | sort)" = "$before" ] || { echo "the game wrote into the installed tree"; exit 1; }
[ -f "$player/home/.local/state/orvalis/d-bug_log.txt" ] || { echo "no debug log in the state folder"; exit 1; }
stray=$(cd "$player/home" && find . -type f | grep -v -E '^\./(\.config|\.local/state|\.local/share|\.cache)/' || true)
[ -z "$stray" ] || { echo "written outside the XDG folders: $stray"; exit 1; }
# A player without any right on the installed tree plays as well.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  rm -rf "$player/home" "$player/elsewhere/out.json"
  chown -R nobody "$player"
  run_as_player setpriv --reuid=nobody --regid=nogroup --clear-groups "$bin" --headless --seed 1 --script s.txt
  [ -f "$player/elsewhere/out.json" ] || { echo "the game did not run for an unprivileged player"; exit 1; }
fi

# Without its data folder the game names the installed one as the place it looked, before the
# configured absolute one (skipped when that one exists on this machine and would be found).
mv "$data" "$data.away"
if ! run_as_player "$bin" --headless --script s.txt 2>"$root/err.txt"; then
  grep -q -F "  $data" "$root/err.txt" || { cat "$root/err.txt"; echo "the installed data folder was not looked in"; exit 1; }
fi
mv "$data.away" "$data"
echo "installed orvalis $version into $dest and ran it from $player/elsewhere"
