#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ in build-fuzz/ (clang++, with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for SECONDS
# (default 60) from its seed corpus and with its dictionary
# (fuzz/dictionaries/), after replaying every input that once made it fail
# (fuzz/regressions/<harness>/). Fails when any harness finds a
# crash; what it found is left in build-fuzz/findings/<harness>/.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
SECONDS_EACH=${1:-60}
JOBS=${JOBS:-$(nproc)}
BUILD=${SMEAR_FUZZ_BUILD:-build-fuzz}
HARNESSES=(svg_read svg_round_trip session plugin_messages studio_requests)

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DSMEAR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSMEAR_BUILD_TESTS=OFF -DSMEAR_BUILD_BENCH=OFF >/dev/null \
  && ninja -C "$BUILD" -j "$JOBS" "${HARNESSES[@]/#/fuzz_}" || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for h in "${HARNESSES[@]}"; do
  echo "=== fuzz: $h ==="
  if [ -d "fuzz/regressions/$h" ] && [ -n "$(ls -A "fuzz/regressions/$h")" ]; then
    if ! "$BUILD/fuzz_$h" fuzz/regressions/"$h"/*; then
      echo "fuzz: $h fails on an input of fuzz/regressions/$h" >&2
      failed=1
      continue
    fi
  fi
  # The corpus grows in the build folder; the seeds in the tree stay as they are.
  work="$BUILD/corpus/$h" findings="$BUILD/findings/$h"
  mkdir -p "$work" "$findings"
  dict=()
  # Requests may be as large as the studio's limits, so that the fuzzer
  # reaches them; files are kept to what runs quickly.
  max_len=65536
  case $h in
    svg_read | svg_round_trip) dict=(-dict=fuzz/dictionaries/svg.dict) ;;
    session) dict=(-dict=fuzz/dictionaries/session.dict) ;;
    studio_requests) dict=(-dict=fuzz/dictionaries/studio.dict) max_len=$((1 << 20)) ;;
  esac
  if ! "$BUILD/fuzz_$h" "${dict[@]+"${dict[@]}"}" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$h" 2>"$BUILD/fuzz_$h.log"; then
    tail -n 60 "$BUILD/fuzz_$h.log" >&2
    echo "fuzz: $h found a crash; the input is in $findings/" >&2
    failed=1
  fi
  grep -E "stat::(number_of_executed_units|average_exec_per_sec)" "$BUILD/fuzz_$h.log"
done
exit "$failed"
