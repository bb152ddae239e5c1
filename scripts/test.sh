#!/usr/bin/env bash
# Builds and runs every test: the native suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the 32-bit Windows build
# under Wine (its test program, the module's export and import tables, and the
# parity of native and Windows sessions).
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
# Build folders: PREFIX, PREFIX-asan and PREFIX-win.
PREFIX=${SMEAR_BUILD_PREFIX:-build}
passed=0

stage() { echo; echo "=== $* ==="; }
ok() { passed=$((passed + 1)); }
fail() { echo "test: stage failed: $*" >&2; echo "stages: $passed passed, 1 failed"; exit 1; }

configure_and_build() {  # dir, extra cmake arguments...
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
  ninja -C "$dir" -j "$JOBS" || return 1
}

stage "native build and tests"
configure_and_build "$PREFIX" -DCMAKE_BUILD_TYPE=RelWithDebInfo || fail "native build"
ctest --test-dir "$PREFIX" --output-on-failure -j "$JOBS" || fail "native tests"
ok

stage "AddressSanitizer + UndefinedBehaviorSanitizer build and tests"
configure_and_build "$PREFIX-asan" -DCMAKE_BUILD_TYPE=Debug -DSMEAR_SANITIZE=ON -DSMEAR_BUILD_BENCH=OFF \
  || fail "sanitizer build"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$PREFIX-asan" --output-on-failure -j "$JOBS" || fail "sanitizer tests"
ok

stage "Windows build (i686-w64-mingw32)"
configure_and_build "$PREFIX-win" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" || fail "Windows build"
bash tests/windows/check_module.sh "$PREFIX-win/Smearcraft.aip" || fail "module export and import tables"
ok

# A private Wine prefix: nothing of the machine's own, no display needed.
WINEPREFIX=$(mktemp -d /tmp/smear-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
unset DISPLAY
wineboot -i >/dev/null 2>&1 || true

stage "Windows tests under Wine"
(cd "$PREFIX-win" && wine ./smear_tests.exe) || fail "Windows tests under Wine"
ok

stage "native and Windows sessions give the same output"
bash tests/windows/parity.sh "$PREFIX" "$PREFIX-win" || fail "session parity"
ok

echo
echo "stages: $passed passed, 0 failed"
