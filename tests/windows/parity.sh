#!/usr/bin/env bash
# Runs the same commands and sessions with the native smearhost and with the
# Windows smearhost.exe under Wine, and fails on any difference in what they
# print or in the files they save.
# Usage: parity.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
NATIVE=$(cd "$1" && pwd)/smearhost
WINDOWS=$(cd "$2" && pwd)/smearhost.exe
WORK=$(mktemp -d /tmp/smear-parity.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
export WINEDEBUG=${WINEDEBUG:--all}

compared=0
differed=0

# Runs one command line with both programs in fresh folders and compares the
# exit code, the standard output and every file written.
compare() {
  local name=$1; shift
  local n="$WORK/$name/native" w="$WORK/$name/windows"
  mkdir -p "$n" "$w"
  local nrc=0 wrc=0
  (cd "$n" && "$NATIVE" "$@" >"$WORK/$name/native.out" 2>"$WORK/$name/native.err") || nrc=$?
  (cd "$w" && wine "$WINDOWS" "$@" >"$WORK/$name/windows.out" 2>"$WORK/$name/windows.err") || wrc=$?
  compared=$((compared + 1))
  local same=1
  if [ "$nrc" != "$wrc" ]; then
    echo "parity: $name: exit code $nrc native, $wrc under Wine" >&2
    same=0
  fi
  if ! diff -u "$WORK/$name/native.out" "$WORK/$name/windows.out" >&2; then
    echo "parity: $name: the printed reports differ" >&2
    same=0
  fi
  if ! diff -r "$n" "$w" >&2; then
    echo "parity: $name: the written files differ" >&2
    same=0
  fi
  if [ ! -s "$WORK/$name/native.out" ]; then
    echo "parity: $name: the native run printed nothing" >&2
    cat "$WORK/$name/native.err" >&2
    same=0
  fi
  if [ $same = 1 ]; then
    echo "parity: $name: same ($(wc -l <"$WORK/$name/native.out") lines, $(find "$n" -type f | wc -l) files)"
  else
    differed=$((differed + 1))
  fi
}

compare tools tools
compare about about
compare demo demo --out gallery

# Every example session that carries its document inline (the Windows program
# reads no SVG files).
for session in "$ROOT"/examples/sessions/*.json; do
  if grep -q '"document"[[:space:]]*:[[:space:]]*"' "$session"; then
    continue
  fi
  compare "session-$(basename "$session" .json)" run "$session"
done

echo "parity: $((compared - differed)) passed, $differed failed"
[ "$differed" = 0 ]
