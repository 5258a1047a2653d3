#!/usr/bin/env bash
# Installs what is missing, builds Orvalis twice (release, and with AddressSanitizer and
# UndefinedBehaviorSanitizer), runs every test of both builds, then every fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
JOBS=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORVALIS_SANITIZE=ON -DORVALIS_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$JOBS")

# Every fuzz target for a short while, so a regression in a reader shows.
./fuzz.sh "${ORVALIS_FUZZ_SECONDS:-30}"
