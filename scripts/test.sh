#!/usr/bin/env bash
# Builds and runs every test: the native suite, the same suite built by clang
# under AddressSanitizer and UndefinedBehaviorSanitizer (float-cast-overflow
# included), the 32-bit Windows build
# under Wine (its test program, the module's export and import tables, and the
# parity of native and Windows sessions), and a short run of every fuzzing
# harness (scripts/fuzz.sh). Every stage runs even when an
# earlier one failed, so one run shows every failure; the exit code is 1 when
# any stage failed. The stages that need Wine fail with the set-up's reason
# when Wine is missing; under CI=true, when the set-up recorded that the
# package mirror kept Wine out, they are reported as not run instead, and
# the closing summary and last line say why.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
# Build folders: PREFIX, PREFIX-clang-asan and PREFIX-win.
PREFIX=${SMEAR_BUILD_PREFIX:-build}
passed=0
failed=0
failures=()
not_run=()
# shellcheck source=scripts/wine_record.sh
. "$ROOT/scripts/wine_record.sh"
wine_decide

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

stage "set-up under a stand-in package mirror"
bash tests/setup/setup_test.sh
result "set-up under a stand-in mirror" $?

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

# Runs a stage that needs Wine: name, then its command. Without Wine it
# fails with the set-up's reason, or is not run when wine_decide says so.
wine_stage() {
  local name=$1; shift
  stage "$name"
  if [ -z "$WINE_MISSING" ]; then
    "$@"
    result "$name" $?
  elif [ -n "$WINE_SKIP" ]; then
    echo "test: not run: $name: $WINE_MISSING"
    not_run+=("$name")
  else
    echo "test: $name needs Wine: $WINE_MISSING" >&2
    result "$name" 1
  fi
}

if [ -z "$WINE_MISSING" ]; then
  # A private Wine prefix: nothing of the machine's own, no display needed.
  WINEPREFIX=$(mktemp -d /tmp/smear-wine.XXXXXX)
  # No Mono or Gecko: nothing here needs them, and their first-run installers
  # would want a display.
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
  unset DISPLAY
  wineboot -i >/dev/null 2>&1 || true
fi

windows_tests() { (cd "$PREFIX-win" && wine ./smear_tests.exe); }
wine_stage "${WINE_STAGES[0]}" windows_tests
wine_stage "${WINE_STAGES[1]}" bash tests/windows/parity.sh "$PREFIX" "$PREFIX-win"

stage "fuzzing (libFuzzer harnesses, 60 s each)"
bash scripts/fuzz.sh 60
result "fuzzing" $?

echo
for f in "${failures[@]+"${failures[@]}"}"; do echo "failed: $f"; done
for f in "${not_run[@]+"${not_run[@]}"}"; do echo "not run: $f ($WINE_MISSING)"; done
if [ "${#not_run[@]}" -eq 0 ]; then
  echo "stages: $passed passed, $failed failed"
else
  echo "stages: $passed passed, $failed failed, ${#not_run[@]} not run: $WINE_MISSING"
fi
[ "$failed" -eq 0 ]
