#!/usr/bin/env bash
# Builds and runs every test: the native suite, the same suite built by clang
# under AddressSanitizer and UndefinedBehaviorSanitizer (float-cast-overflow
# included), the 32-bit Windows build
# under Wine (its test program, the module's export and import tables, and the
# parity of native and Windows sessions), and a short run of every fuzzing
# harness (scripts/fuzz.sh). Every stage runs even when an
# earlier one failed, so one run shows every failure; the exit code is 1 when
# any stage failed.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
# Build folders: PREFIX, PREFIX-clang-asan and PREFIX-win.
PREFIX=${SMEAR_BUILD_PREFIX:-build}
passed=0
failed=0
failures=()

stage() { echo; echo "=== $* ==="; }
result() {  # name, then the status of the stage's commands
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$1")
    echo "test: stage failed: $1" >&2
  fi
}

configure_and_build() {  # dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null && ninja -C "$dir" -j "$JOBS"
}

stage "native build and tests"
configure_and_build "$PREFIX" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  && ctest --test-dir "$PREFIX" --output-on-failure -j "$JOBS"
result "native build and tests" $?

# clang, because its undefined-behaviour checks include float-cast-overflow
# (a real cast to an integer out of range), which GCC's build leaves out.
stage "AddressSanitizer + UndefinedBehaviorSanitizer (clang, float-cast-overflow) build and tests"
CC=clang CXX=clang++ configure_and_build "$PREFIX-clang-asan" -DCMAKE_BUILD_TYPE=Debug -DSMEAR_SANITIZE=ON \
    -DSMEAR_BUILD_BENCH=OFF \
  && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     ctest --test-dir "$PREFIX-clang-asan" --output-on-failure -j "$JOBS"
result "sanitizer build and tests" $?

stage "Windows build (i686-w64-mingw32) and its module tables"
configure_and_build "$PREFIX-win" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
  && bash tests/windows/check_module.sh "$PREFIX-win/Smearcraft.aip"
result "Windows build and module tables" $?

stage "release packages"
bash scripts/package.sh "$PREFIX" "$PREFIX-win" && bash tests/packages/check_packages.sh "$PREFIX/packages"
result "release packages" $?

# A private Wine prefix: nothing of the machine's own, no display needed.
WINEPREFIX=$(mktemp -d /tmp/smear-wine.XXXXXX)
# No Mono or Gecko: nothing here needs them, and their first-run installers
# would want a display.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
unset DISPLAY
wineboot -i >/dev/null 2>&1 || true

stage "Windows tests under Wine"
(cd "$PREFIX-win" && wine ./smear_tests.exe)
result "Windows tests under Wine" $?

stage "native and Windows sessions give the same output"
bash tests/windows/parity.sh "$PREFIX" "$PREFIX-win"
result "session parity" $?

stage "fuzzing (libFuzzer harnesses, 60 s each)"
bash scripts/fuzz.sh 60
result "fuzzing" $?

echo
for f in "${failures[@]+"${failures[@]}"}"; do echo "failed: $f"; done
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
