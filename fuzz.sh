#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) in their
# own build folder and runs each for SECONDS (ORVALIS_FUZZ_JOBS of them at a time, default 2),
# starting from a freshly written seed corpus plus what earlier runs kept. Prints "target: N execs,
# K findings" per target; exits 1 when anything was found.
# Usage: ./fuzz.sh [SECONDS] [TARGET...]   (targets: bitmap template palette script save settings;
# default all). A target with a dictionary (fuzz/TARGET.dict) runs with it. Each target's executions
# a second are printed too.
set -euo pipefail
cd "$(dirname "$0")"

SECONDS_EACH=${1:-30}
shift || true
# libFuzzer reads 0 as "no limit": a run that never ends is refused like any other bad time.
if ! [[ "$SECONDS_EACH" =~ ^[0-9]+$ ]] || [ "$SECONDS_EACH" -le 0 ]; then
  echo "fuzz.sh: SECONDS must be a whole number of seconds above 0, not '$SECONDS_EACH'" >&2
  exit 64
fi
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(bitmap template palette script save settings)
BUILD=${ORVALIS_FUZZ_BUILD:-build-fuzz}
# A new build folder uses Ninja when it is installed; one configured before keeps its generator.
if command -v ninja >/dev/null; then export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}; fi
JOBS=${ORVALIS_FUZZ_JOBS:-2}

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DORVALIS_FUZZ=ON -DORVALIS_TESTS=OFF -DORVALIS_BENCH=OFF >/dev/null
build_targets=(orvalis_fuzz_seeds)
for t in "${TARGETS[@]}"; do build_targets+=("fuzz_$t"); done
mkdir -p "$BUILD"
if ! cmake --build "$BUILD" -j "$JOBS" --target "${build_targets[@]}" >"$BUILD/build.log" 2>&1; then
  grep -E "error|FAILED" "$BUILD/build.log" | head -n 20 >&2 || true
  echo "fuzz.sh: the fuzz targets did not build (all of it in $BUILD/build.log)" >&2
  exit 1
fi

# The seeds are written afresh for every run; the corpus folder keeps what the fuzzer found interesting.
SEEDS=$(mktemp -d "$BUILD/seeds.XXXXXX")
trap 'rm -rf "$SEEDS"' EXIT
"$BUILD/fuzz/orvalis_fuzz_seeds" "$SEEDS" data/templates
mkdir -p "$BUILD/findings" "$BUILD/logs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The targets run side by side, JOBS at a time (each fuzzer is one process on one core); the
# results are read afterwards, in the order given.
declare -A before
run_target() {
  local t=$1 code=0 dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  "$BUILD/fuzz/fuzz_$t" "${dict[@]}" -max_total_time="$SECONDS_EACH" -print_final_stats=1 -timeout=20 \
    -rss_limit_mb=2048 -artifact_prefix="$BUILD/findings/$t/" \
    "$BUILD/corpus/$t" "$SEEDS/$t" >"$BUILD/logs/$t.log" 2>&1 || code=$?
  echo "$code" >"$BUILD/logs/$t.code"
}
running=0
for t in "${TARGETS[@]}"; do
  mkdir -p "$BUILD/corpus/$t" "$BUILD/findings/$t"
  before[$t]=$(find "$BUILD/findings/$t" -type f | wc -l)
  rm -f "$BUILD/logs/$t.code"
  run_target "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$JOBS" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

status=0
for t in "${TARGETS[@]}"; do
  log="$BUILD/logs/$t.log"
  code=$(cat "$BUILD/logs/$t.code" 2>/dev/null || echo 1)
  after=$(find "$BUILD/findings/$t" -type f | wc -l)
  found=$((after - before[$t]))
  # A run that died without leaving an input behind is a finding all the same.
  if [ "$code" -ne 0 ] && [ "$found" -eq 0 ]; then found=1; fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  echo "$t: ${execs:-0} execs (${rate:-0} a second), $found findings"
  if [ "$found" -ne 0 ]; then
    status=1
    echo "  log: $log"
    grep -E "ERROR|property broken|runtime error|SUMMARY" "$log" | head -n 5 | sed 's/^/  /' || true
  fi
done
exit $status
