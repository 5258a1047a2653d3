#!/usr/bin/env bash
# Installs the build into a temporary folder (with DESTDIR) and runs the installed game headless
# from another folder: it must find its data in the share folder next to its bin folder.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr/local >/dev/null
prefix="$root/dest/usr/local"
for f in bin/orvalis share/orvalis/mm_main.bmp share/orvalis/10c.txt share/orvalis/snd_step.wav \
         share/orvalis/music_menu.wav share/applications/orvalis.desktop \
         share/metainfo/io.orvalis.Orvalis.metainfo.xml share/man/man6/orvalis.6 \
         share/icons/hicolor/48x48/apps/orvalis.png share/icons/hicolor/128x128/apps/orvalis.png \
         share/icons/hicolor/256x256/apps/orvalis.png; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
[ "$(ls "$prefix/share/orvalis"/*.bmp | wc -l)" -eq 26 ] || { echo "expected the 26 art files"; exit 1; }
[ "$(ls "$prefix/share/orvalis"/*.wav | wc -l)" -eq 21 ] || { echo "expected the 21 sound files"; exit 1; }
[ ! -e "$prefix/share/orvalis/d-bug_log.txt" ] || { echo "the debug log must not be installed"; exit 1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$prefix/share/applications/orvalis.desktop"; fi

# Run it from an unrelated folder; the data is found relative to the binary.
mkdir -p "$root/elsewhere"
cd "$root/elsewhere"
printf 'frames 3\nkey down RETURN\nframes 1\nkey up RETURN\nframes 31\nstate out.json\n' > s.txt
"$prefix/bin/orvalis" --headless --seed 1 --script s.txt
grep -q '"menu_panel_w": 240' out.json || { echo "the installed game did not run the menu"; exit 1; }
"$prefix/bin/orvalis" --help | grep -q -- '--record FILE'

# A player who cannot write to the installed data folder gets the debug log in the state folder.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  chmod 755 "$root"
  mkdir -p "$root/player" && chown nobody "$root/player"
  rm -f "$prefix/share/orvalis/d-bug_log.txt"  # made by the run above, as root
  (cd "$root/player" && printf 'frames 2\n' > s.txt &&
    XDG_STATE_HOME="$root/player/state" setpriv --reuid=nobody --regid=nogroup --clear-groups \
      "$prefix/bin/orvalis" --headless --seed 1 --script s.txt)
  [ -f "$root/player/state/orvalis/d-bug_log.txt" ] || { echo "no debug log in the state folder"; exit 1; }
  [ ! -e "$prefix/share/orvalis/d-bug_log.txt" ] || { echo "the debug log went into the data folder"; exit 1; }
fi
echo "installed and ran from $root/elsewhere"
