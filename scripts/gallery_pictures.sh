#!/usr/bin/env bash
# Renders the demo's gallery into the small pictures the README shows
# (docs/gallery/*.png): the sample drawing before, and after each tool's
# stroke. Run it after a change to what the tools or the demo draw.
# Usage: gallery_pictures.sh [NATIVE_BUILD]   (default: build; built if needed)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD=${1:-build}
WIDTH=${WIDTH:-320}
[ -x "$BUILD/smearhost" ] || { cmake -S "$ROOT" -B "$BUILD" -G Ninja >/dev/null && ninja -C "$BUILD" smearhost >/dev/null; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/smear-gallery.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$BUILD/smearhost" demo --out "$WORK" >/dev/null

mkdir -p docs/gallery
for svg in "$WORK"/*.svg; do
  name=$(basename "$svg" .svg)
  case $name in *-dialog) continue ;; esac
  rsvg-convert --width "$WIDTH" --keep-aspect-ratio --background-color white "$svg" -o "docs/gallery/$name.png"
done
ls docs/gallery
