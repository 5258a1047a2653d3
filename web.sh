#!/usr/bin/env bash
# Builds Orvalis for the web browser (WebAssembly) into build-web/site/, serves it, or tests it.
#   ./web.sh            installs what is missing (emscripten, Debian's source packages of SDL2 and
#                       friends, Chromium, node modules), builds the libraries once (cached in
#                       build-web/prefix) and the game, and writes build-web/site/
#   ./web.sh --serve    builds, then serves the site on localhost and prints the address
#   ./web.sh --test     builds, then plays the game in headless Chromium (web/test.mjs)
#   ./web.sh --bench    builds, then measures the figures (web/bench.mjs)
# ORVALIS_WEB_PORT chooses the port (8642 unless set).
set -euo pipefail
cd "$(dirname "$0")"
mode=build
for arg in "$@"; do
  case "$arg" in
    --serve) mode=serve ;;
    --test) mode=test ;;
    --bench) mode=bench ;;
    *) echo "usage: ./web.sh [--serve|--test|--bench]" >&2; exit 64 ;;
  esac
done
root=$PWD
build=$root/build-web
port=${ORVALIS_WEB_PORT:-8642}
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# apt may be busy with another install on this machine: wait for its lock rather than fail.
apt_get() {
  local tries=0
  until $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"; do
    tries=$((tries + 1))
    [ "$tries" -lt 5 ] || return 1
    echo "web: apt-get $1 failed (busy?); trying again" >&2
    sleep 20
  done
}

# Source packages need deb-src entries beside the system's deb entries, then a fresh package list.
enable_sources() {
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  echo "web: adding deb-src entries for Debian's source packages"
  local f out=/etc/apt/sources.list.d/orvalis-deb-src
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -q '^URIs:.*debian' "$f" || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" | $SUDO tee "$out-$(basename "$f")" >/dev/null
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*debian.*\)/deb-src \1/p' /etc/apt/sources.list | $SUDO tee "$out.list" >/dev/null
  fi
  apt_get update -qq
}

install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "web: installing ${missing[*]}"
  apt_get update -qq
  apt_get install -y -qq "${missing[@]}" >/dev/null
}

./scripts/deps.sh  # the native build, for the tests' and the figures' comparisons
install_packages emscripten dpkg-dev chromium fonts-dejavu-core python3
# Node with npm may come from elsewhere than Debian (its npm then ships inside nodejs).
command -v node >/dev/null || install_packages nodejs
command -v npm >/dev/null || install_packages npm
enable_sources
# emscripten's optimizer needs Debian's node modules (acorn), which a node from elsewhere does not
# look for by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# The libraries' long first build shares the machine politely.
started=$SECONDS
nice -n 10 web/deps.sh "$build"
echo "web: the libraries are ready ($((SECONDS - started)) s)"

# The node modules of the test and the figures (puppeteer-core drives Debian's Chromium; it never
# downloads a browser).
npm_dir=$build/npm
if [ ! -d "$npm_dir/node_modules" ] || ! cmp -s web/package-lock.json "$npm_dir/package-lock.json"; then
  mkdir -p "$npm_dir"
  cp web/package.json web/package-lock.json "$npm_dir/"
  (cd "$npm_dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi

# The native build draws the art and makes the sounds, and is what the browser is compared with.
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target orvalis orvalis_data

# The game for the browser.
emcmake cmake -S . -B "$build/game" -DCMAKE_BUILD_TYPE=Release -DORVALIS_WEB_PREFIX="$build/prefix" >/dev/null
cmake --build "$build/game" -j "$(nproc)" --target orvalis

# The site: the page, the game, and its data in one package (art, templates, sounds, the font).
site=$build/site
data=$build/data
rm -rf "$data" "$site"
mkdir -p "$data" "$site"
cp build/run/*.bmp data/templates/*.txt "$data/"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf "$data/"
# The sounds for a download: the effects as the desktop has them, the themes at half the rate (they
# hold next to nothing above 10 kHz).
build/tools/soundgen/orvalis_soundgen --out "$data" --music-rate 22050
# The package is downloaded gzipped (web/data.js unpacks it in the page).
python3 /usr/share/emscripten/tools/file_packager.py "$site/orvalis.data" --preload "$data@/data" \
  --js-output="$site/orvalis-data.js" >/dev/null
gzip -9n "$site/orvalis.data"
cp "$build/game/run/orvalis.js" "$build/game/run/orvalis.wasm" web/index.html web/data.js web/page.js "$site/"
cp /usr/share/doc/fonts-dejavu-core/copyright "$site/font-license.txt"
echo "web: the site is in $site ($(du -sh "$site" | cut -f1))"

export ORVALIS_NODE_MODULES=$npm_dir/node_modules
case "$mode" in
  serve) exec node web/serve.mjs "$site" "$port" ;;
  test) exec node web/test.mjs "$site" "$port" ;;
  bench)
    # The site with the computer's figures beside it.
    cmake --build build -j "$(nproc)" --target orvalis_arena
    cmake --build "$build/game" -j "$(nproc)" --target orvalis_arena
    rm -rf "$build/bench-site" && cp -r "$site" "$build/bench-site"
    cp "$build/game/run/arena.js" "$build/game/run/arena.wasm" web/arena.html "$build/bench-site/"
    exec node web/bench.mjs "$build/bench-site" "$port"
    ;;
esac
