#!/usr/bin/env bash
# Builds the web version's C libraries from Debian's source packages with emscripten, into one
# prefix that later libraries and the game find: zlib, libpng, FreeType, SDL2, SDL2_ttf and
# SDL2_mixer (WAV only). Each library is built once; a stamp naming its source version marks it
# done, so a second run costs nothing.
#   web/deps.sh BUILD_DIR      (web.sh calls it; the prefix is BUILD_DIR/prefix)
# Two things keep the first build short on a small machine: the libraries that do not need each
# other build side by side (SDL2 beside zlib, libpng and FreeType; then SDL2_ttf beside
# SDL2_mixer), and SDL2's configure step, which otherwise links some 160 test programs with
# emscripten one after the other, takes the answers a full configure of the same SDL2 source with
# the same emscripten gave (web/checks/, written from build-web/deps/NAME.checks.cmake).
set -euo pipefail
here=$(dirname "$(realpath "$0")")
build=$(realpath -m "$1")
src=$build/src
prefix=$build/prefix
jobs=$(nproc)
mkdir -p "$src" "$prefix" "$build/deps"
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-stable}")
emscripten_version=$(cat /usr/share/emscripten/emscripten-version.txt 2>/dev/null || echo unknown)
# emscripten puts its own SDL 1 headers first on the include path unless told there is no SDL.
export EMCC_CFLAGS="${EMCC_CFLAGS:-} -sUSE_SDL=0"

# The unpacked source folder of a Debian source package, fetched and unpacked on first use.
source_dir() {
  local pkg=$1 dir
  dir=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$2-[0-9]*" | sort | tail -n 1)
  if [ -z "$dir" ]; then
    # The newest source first; an archive that does not serve it (a security update's pool can be
    # missing from a mirror) falls back to the release's own.
    (cd "$src" && { apt-get source -qq "$pkg" >"$build/deps/source-$pkg.log" 2>&1 ||
      apt-get source -qq "$pkg/$codename" >>"$build/deps/source-$pkg.log" 2>&1 ||
      apt-get source -qq "$pkg/stable" >>"$build/deps/source-$pkg.log" 2>&1; } || true)
    dir=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$2-[0-9]*" | sort | tail -n 1)
  fi
  [ -n "$dir" ] || { cat "$build/deps/source-$pkg.log" >&2; echo "web/deps.sh: apt-get source $pkg gave no $2-VERSION folder" >&2; exit 1; }
  echo "$dir"
}

# The configure checks' answers of a configure that ran them all, as a CMake script that presets them.
record_checks() {
  local name=$1 dir=$2
  {
    echo "# The configure checks' answers for $(basename "$dir") built with emscripten $emscripten_version"
    echo "# (web/deps.sh wrote them from a configure that ran every check)."
    sed -nE 's/^((HAVE_|LIBC_IS_|STDC_HEADERS)[A-Za-z0-9_]*):INTERNAL=(.*)$/set(\1 "\3" CACHE INTERNAL "")/p' \
      "$build/deps/$name/CMakeCache.txt"
  } >"$build/deps/$name.checks.cmake"
}

# build NAME DEBIAN_PACKAGE FOLDER_PREFIX CMAKE_OPTIONS...
build_one() {
  local name=$1 pkg=$2 folder=$3
  shift 3
  local dir stamp checks started=$SECONDS
  dir=$(source_dir "$pkg" "$folder")
  # The stamp names the source and the options, so a change of either builds the library again.
  stamp=$prefix/.built-$(basename "$dir")-$(echo "$*" | md5sum | cut -c1-8)
  [ -f "$stamp" ] && return 0
  checks=$here/checks/$(basename "$dir").emscripten-$emscripten_version.cmake
  local preset=()
  [ -f "$checks" ] && preset=(-C "$checks")
  echo "web: building $(basename "$dir") for the browser${preset:+ (configure checks answered by web/checks/)}"
  rm -rf "$build/deps/$name"
  emcmake cmake "${preset[@]}" -S "$dir" -B "$build/deps/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build/deps/$name.log" 2>&1 ||
    { tail -n 30 "$build/deps/$name.log" >&2; exit 1; }
  [ ${#preset[@]} -gt 0 ] || record_checks "$name" "$dir"
  local configured=$((SECONDS - started))
  cmake --build "$build/deps/$name" -j "$jobs" >>"$build/deps/$name.log" 2>&1 &&
    cmake --install "$build/deps/$name" >>"$build/deps/$name.log" 2>&1 ||
    { tail -n 30 "$build/deps/$name.log" >&2; exit 1; }
  touch "$stamp"
  echo "web: $(basename "$dir") built (configure ${configured} s, all $((SECONDS - started)) s)"
}

# zlib's own configure script: Debian's source leaves out the Windows files its CMake build names.
build_zlib() {
  local dir
  dir=$(source_dir zlib zlib)
  [ -f "$prefix/.built-$(basename "$dir")" ] && return 0
  echo "web: building $(basename "$dir") for the browser"
  rm -rf "$build/deps/zlib" && cp -r "$dir" "$build/deps/zlib"
  (cd "$build/deps/zlib" && emconfigure ./configure --static --prefix="$prefix" &&
    emmake make -j "$jobs" libz.a && emmake make install) >"$build/deps/zlib.log" 2>&1 ||
    { tail -n 30 "$build/deps/zlib.log" >&2; exit 1; }
  touch "$prefix/.built-$(basename "$dir")"
}

build_png_freetype() {
  build_zlib
  build_one libpng libpng1.6 libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$prefix/include"
  # FreeType reads compressed fonts with the zlib above: its own copy of zlib's code would clash with it.
  build_one freetype freetype freetype -DFT_REQUIRE_ZLIB=ON -DZLIB_ROOT="$prefix" \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

# SDL2 with what the page uses: its browser video, input, audio and controllers, the software
# renderer; the parts a browser game does not reach (OpenGL, the offscreen driver, haptics, sensors,
# HID devices, power, locale, opening addresses, the disk writer) are left out.
build_sdl2() {
  build_one sdl2 libsdl2 libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_OPENGL=OFF \
    -DSDL_OPENGLES=OFF -DSDL_OFFSCREEN=OFF -DSDL_HAPTIC=OFF -DSDL_SENSOR=OFF -DSDL_HIDAPI=OFF \
    -DSDL_POWER=OFF -DSDL_LOCALE=OFF -DSDL_MISC=OFF -DSDL_DISKAUDIO=OFF
}

build_ttf() {
  build_one sdl2_ttf libsdl2-ttf libsdl2-ttf -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF
}

build_mixer() {
  build_one sdl2_mixer libsdl2-mixer libsdl2-mixer -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_MP3=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF
}

# Runs the functions named side by side; fails when any of them fails.
side_by_side() {
  local pids=() f failed=0
  for f in "$@"; do
    "$f" &
    pids+=($!)
  done
  for f in "${pids[@]}"; do wait "$f" || failed=1; done
  [ "$failed" -eq 0 ]
}

# The sources first, one at a time (apt-get source shares its lists).
for p in "zlib zlib" "libpng1.6 libpng1.6" "freetype freetype" "libsdl2 libsdl2" "libsdl2-ttf libsdl2-ttf" \
  "libsdl2-mixer libsdl2-mixer"; do
  source_dir $p >/dev/null
done
side_by_side build_sdl2 build_png_freetype
side_by_side build_ttf build_mixer
