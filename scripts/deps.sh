#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvalis need, and any named as
# arguments (package.sh adds the packaging tools), when any is missing.
set -euo pipefail
PACKAGES=(cmake g++ make ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev libpng-dev
  nlohmann-json3-dev libtomlplusplus-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb xauth
  desktop-file-utils clang clang-format)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
updated=0
install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  if [ "$updated" -eq 0 ]; then
    $SUDO apt-get update -qq
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
}

install_missing "${PACKAGES[@]}" "$@"
# The fuzzers need the sanitizer and libFuzzer runtime of the clang that is installed.
clang_major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
install_missing "libclang-rt-${clang_major}-dev"
