#!/usr/bin/env bash
# Builds the Debian package build-deb/orvalis_<version>_<arch>.deb with Debian's own tools
# (dpkg-buildpackage from debian/) in a clean folder, from a copy of this tree, then checks it:
# lintian (no error, and no warning that is not overridden with a reason), the AppStream metadata and
# the desktop entry validated, and the package unpacked into a temporary root and played headless
# from there. Install it with: sudo apt-get install ./build-deb/orvalis_*.deb
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils
out=build-deb
version=$(sed -n 's/^project(orvalis VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
src="$out/orvalis-$version"
rm -rf "$out"
mkdir -p "$src"
# The files git knows of, with any change not yet committed; nothing from the build folders.
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  tar --null -T - -cf - | tar -xf - -C "$src"

# Debian's changelog is written from CHANGELOG.md for the version CMakeLists.txt sets.
cmake -DCHANGELOG=CHANGELOG.md -DVERSION="$version" -DMAINTAINER="$(sed -n 's/^Maintainer: //p' debian/control)" \
  -DOUT="$src/debian/changelog" -P data/changelog.cmake

(cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc)" nice -n 10 dpkg-buildpackage -us -uc)
deb="$out/orvalis_${version}_$(dpkg --print-architecture).deb"
changes="${deb%.deb}.changes"
[ -f "$deb" ] || { echo "package.sh: no $deb was built" >&2; exit 1; }

echo "== lintian"
lintian --fail-on error,warning --display-info "$changes"
echo "== the package unpacked and played"
bash tests/e2e/install_test.sh --deb "$deb"
echo "package.sh: $deb, $(du -k "$deb" | cut -f1) KiB, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
