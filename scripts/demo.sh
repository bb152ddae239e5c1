#!/usr/bin/env bash
# Builds the plug-in and the stand-in host, then paints the built-in sample
# drawing with every tool into an HTML gallery of before / after pictures.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
OUT=${1:-out/demo}

cmake -S "$ROOT" -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build -j "${JOBS:-$(nproc)}"
./build/smearhost tools
./build/smearhost demo --out "$OUT"
echo "demo: open $(cd "$OUT" && pwd)/index.html"
