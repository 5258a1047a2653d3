#!/usr/bin/env bash
# Builds the web version's C libraries from Debian's source packages with emscripten, into one
# prefix that later libraries and the game find: zlib, libpng, FreeType, SDL2, SDL2_ttf and
# SDL2_mixer (WAV only). Each library is built once; a stamp naming its source version marks it
# done, so a second run costs nothing.
#   web/deps.sh BUILD_DIR      (web.sh calls it; the prefix is BUILD_DIR/prefix)
set -euo pipefail
build=$(realpath -m "$1")
src=$build/src
prefix=$build/prefix
jobs=$(nproc)
mkdir -p "$src" "$prefix" "$build/deps"
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-stable}")
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

# build NAME DEBIAN_PACKAGE FOLDER_PREFIX CMAKE_OPTIONS...
build_one() {
  local name=$1 pkg=$2 folder=$3
  shift 3
  local dir stamp
  dir=$(source_dir "$pkg" "$folder")
  # The stamp names the source and the options, so a change of either builds the library again.
  stamp=$prefix/.built-$(basename "$dir")-$(echo "$*" | md5sum | cut -c1-8)
  [ -f "$stamp" ] && return 0
  echo "web: building $(basename "$dir") for the browser"
  rm -rf "$build/deps/$name"
  emcmake cmake -S "$dir" -B "$build/deps/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build/deps/$name.log" 2>&1 ||
    { tail -n 30 "$build/deps/$name.log" >&2; exit 1; }
  cmake --build "$build/deps/$name" -j "$jobs" >>"$build/deps/$name.log" 2>&1 &&
    cmake --install "$build/deps/$name" >>"$build/deps/$name.log" 2>&1 ||
    { tail -n 30 "$build/deps/$name.log" >&2; exit 1; }
  touch "$stamp"
}

# zlib's own configure script: Debian's source leaves out the Windows files its CMake build names.
zlib_dir=$(source_dir zlib zlib)
if [ ! -f "$prefix/.built-$(basename "$zlib_dir")" ]; then
  echo "web: building $(basename "$zlib_dir") for the browser"
  rm -rf "$build/deps/zlib" && cp -r "$zlib_dir" "$build/deps/zlib"
  (cd "$build/deps/zlib" && emconfigure ./configure --static --prefix="$prefix" &&
    emmake make -j "$jobs" libz.a && emmake make install) >"$build/deps/zlib.log" 2>&1 ||
    { tail -n 30 "$build/deps/zlib.log" >&2; exit 1; }
  touch "$prefix/.built-$(basename "$zlib_dir")"
fi
build_one libpng libpng1.6 libpng1.6 -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="$prefix/include"
# FreeType reads compressed fonts with the zlib above: its own copy of zlib's code would clash with it.
build_one freetype freetype freetype -DFT_REQUIRE_ZLIB=ON -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="$prefix/include" -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
  -DFT_DISABLE_BROTLI=ON
build_one sdl2 libsdl2 libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build_one sdl2_ttf libsdl2-ttf libsdl2-ttf -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF -DSDL2TTF_SAMPLES=OFF
build_one sdl2_mixer libsdl2-mixer libsdl2-mixer -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
  -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF \
  -DSDL2MIXER_MP3=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_WAVPACK=OFF
