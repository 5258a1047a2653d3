#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Orvalis need, when any is missing.
set -euo pipefail
PACKAGES=(cmake g++ make pkg-config libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev libpng-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core xvfb xauth
  desktop-file-utils clang libclang-rt-14-dev)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
