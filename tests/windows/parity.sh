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

# Every example session.
for session in "$ROOT"/examples/sessions/*.json; do
  compare "session-$(basename "$session" .json)" run "$session" --out-dir saved
done

# Every example drawing read and written back, and painted with every tool
# across it: the SVG reader, the plug-in's arithmetic and the writer, the
# same on both builds.
TOOLS=(scaling translate rotate transparency stroke-weight fill-intensity fill-channels styles blend-mode
       color-reducer corner-points swatches tint gradient pattern quick-shrink point-shifter gradient-mesh warp-mesh)
for drawing in "$ROOT"/examples/*.svg; do
  name=$(basename "$drawing" .svg)
  compare "convert-$name" convert --in "$drawing" --out "$name.svg"
  for tool in "${TOOLS[@]}"; do
    compare "paint-$name-$tool" paint --tool "$tool" --in "$drawing" --out "$name.svg" --seed 7 \
      --path "20,20,0.2 80,60,0.5 160,120,1 240,150,0.7 300,180,0.4" --set pressureModification=on
  done
done

echo "parity: $((compared - differed)) passed, $differed failed"
[ "$differed" = 0 ]
