#!/usr/bin/env bash
# Installs what is missing, builds Orvalis twice (release, and with AddressSanitizer and
# UndefinedBehaviorSanitizer), runs every test of both builds, then every fuzz target briefly.
# The sanitized build plays a short soak and a spread of the damaged-data cases; the release build
# plays them whole.
#   ./test.sh          what can catch a fault, in a few minutes
#   ./test.sh --full   also the long soak, the whole damaged-data matrix under the sanitizers too
#                      (ORVALIS_FULL=1 for the tests), and five minutes of fuzzing per target
# ORVALIS_FUZZ_SECONDS overrides the fuzzing time per target.
set -euo pipefail
cd "$(dirname "$0")"
full=0
for arg in "$@"; do
  case "$arg" in
    --full) full=1 ;;
    *) echo "usage: ./test.sh [--full]" >&2; exit 64 ;;
  esac
done
fuzz_seconds=15
if [ "$full" -eq 1 ]; then
  export ORVALIS_FULL=1
  fuzz_seconds=300
fi

./scripts/deps.sh
JOBS=$(nproc)
# New build folders use Ninja, which drives the compilers with less overhead than make; a folder
# configured before keeps its generator.
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$JOBS"
(cd build && ctest --output-on-failure -j "$JOBS") | tee build/ctest.log

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DORVALIS_SANITIZE=ON -DORVALIS_BENCH=OFF >/dev/null
cmake --build build-asan -j "$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$JOBS") |
  tee build-asan/ctest.log

# Every fuzz target for a while, so a regression in a reader shows.
./fuzz.sh "${ORVALIS_FUZZ_SECONDS:-$fuzz_seconds}"

# One closing line for both test builds together.
total=0
for log in build/ctest.log build-asan/ctest.log; do
  n=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  total=$((total + ${n:-0}))
done
echo "test.sh: $total passed, 0 failed"
