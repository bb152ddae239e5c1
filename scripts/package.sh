#!/usr/bin/env bash
# Release packages: a zip of the plug-in for the host's users (the module,
# an install note and checksums) and a Debian package of smearhost with the
# plug-in's Linux module and a manual page. Builds what is missing first.
# Usage: package.sh [NATIVE_BUILD] [WINDOWS_BUILD]   (defaults: build build-win)
# Output: NATIVE_BUILD/packages/
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
NATIVE=${1:-build}
WIN=${2:-build-win}
JOBS=${JOBS:-$(nproc)}

die() { echo "package: $*" >&2; exit 1; }

build() {  # dir, target, extra cmake arguments...
  local dir=$1 target=$2; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  ninja -C "$dir" -j "$JOBS" "$target" >/dev/null
}

build "$NATIVE" smearhost -DCMAKE_BUILD_TYPE=RelWithDebInfo
build "$WIN" Smearcraft -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"

# The version is the project's, as the build configured it.
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$NATIVE/CMakeCache.txt")
[ -n "$VERSION" ] || die "no project version in $NATIVE/CMakeCache.txt"
for f in "$NATIVE/smearhost" "$NATIVE/Smearcraft.so" "$NATIVE/Smearcraft.res" "$WIN/Smearcraft.aip"; do
  [ -f "$f" ] || die "missing $f"
done

OUT=$(mkdir -p "$NATIVE/packages" && cd "$NATIVE/packages" && pwd)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/smear-package.XXXXXX")
trap 'rm -rf "$WORK"' EXIT

# --- The zip for the host's users ------------------------------------------
ZIPNAME=Smearcraft-$VERSION-plugin
mkdir -p "$WORK/$ZIPNAME"
cp "$WIN/Smearcraft.aip" "$WORK/$ZIPNAME/"
# Windows line ends: the note is read with the host's own system's tools.
sed 's/$/\r/' >"$WORK/$ZIPNAME/INSTALL.txt" <<EOF
Smearcraft $VERSION - paint-on effect tools for the illustration host
=====================================================================

For the host's versions 10, CS and CS2 on Windows.

Installing
1. Check the file: sha256sum -c SHA256SUMS (or compare the checksum of
   Smearcraft.aip with the one in SHA256SUMS).
2. Quit the host.
3. Copy Smearcraft.aip into the host's plug-ins folder: the folder named
   Plug-ins in the folder the host is installed in (any folder inside it
   will do, such as Plug-ins\\Tools).
4. Start the host again: it loads plug-ins only at launch.
5. The nineteen tools appear in the tool palette as one tool group, shown
   with the Scaling tool's icon (tooltip "TL58 Scaling (expand to see other
   plugins)"). Press and hold it to open the group and pick a tool.

Using the tools
- Select artwork, then drag a tool over it like a brush. Mouse up ends the
  stroke; one Undo takes the whole stroke back.
- Double-click a tool in the palette for its options.
- While dragging: Shift steps the tool's main value, Shift+Ctrl steps it
  the other way, Space pauses the brush.

Removing
Quit the host, delete Smearcraft.aip from the plug-ins folder, and start
the host again.
EOF
(cd "$WORK/$ZIPNAME" && sha256sum Smearcraft.aip INSTALL.txt >SHA256SUMS)
rm -f "$OUT/$ZIPNAME.zip"
# cmake writes the zip: no zip program is needed.
(cd "$WORK" && cmake -E tar cf "$OUT/$ZIPNAME.zip" --format=zip "$ZIPNAME")

# --- The Debian package of smearhost ---------------------------------------
ARCH=$(dpkg --print-architecture)
DEB=$WORK/deb
mkdir -p "$DEB/DEBIAN" "$DEB/usr/bin" "$DEB/usr/lib/smearcraft" "$DEB/usr/share/man/man1" \
         "$DEB/usr/share/doc/smearhost"
# smearhost finds the module in ../lib/smearcraft/ from its own folder.
install -m 755 "$NATIVE/smearhost" "$DEB/usr/bin/smearhost"
install -m 644 "$NATIVE/Smearcraft.so" "$NATIVE/Smearcraft.res" "$DEB/usr/lib/smearcraft/"
strip --strip-debug "$DEB/usr/bin/smearhost" "$DEB/usr/lib/smearcraft/Smearcraft.so"

bash "$ROOT/scripts/manual_page.sh" "$DEB/usr/bin/smearhost" "$VERSION" | gzip -9n >"$DEB/usr/share/man/man1/smearhost.1.gz"
gzip -9nc CHANGELOG.md >"$DEB/usr/share/doc/smearhost/changelog.gz"
cp README.md "$DEB/usr/share/doc/smearhost/README.md"
cat >"$DEB/usr/share/doc/smearhost/copyright" <<EOF
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Smearcraft
Files: *
Copyright: 2003-2006 the Smearcraft authors
License: all rights reserved
EOF

# The packages of the shared libraries smearhost loads.
depends() {
  local lib path pkgs=()
  while read -r lib; do
    path=$(ldd "$NATIVE/smearhost" | awk -v l="$lib" '$1 == l {print $3}')
    [ -n "$path" ] || continue
    for p in "$path" "$(readlink -f "$path")" "/usr$path"; do
      pkg=$(dpkg -S "$p" 2>/dev/null | head -1 | cut -d: -f1) && [ -n "$pkg" ] && { pkgs+=("$pkg"); break; }
    done
  done < <(objdump -p "$NATIVE/smearhost" | awk '/NEEDED/ {print $2}')
  printf '%s\n' "${pkgs[@]+"${pkgs[@]}"}" | sort -u | paste -sd, | sed 's/,/, /g'
}
DEPENDS=$(depends)
SIZE=$(du -sk "$DEB/usr" | cut -f1)
cat >"$DEB/DEBIAN/control" <<EOF
Package: smearhost
Version: $VERSION
Architecture: $ARCH
Section: graphics
Priority: optional
Maintainer: the Smearcraft authors <info@smearcraft.example>
Installed-Size: $SIZE
Depends: $DEPENDS
Homepage: https://smearcraft.example
Description: stand-in host for the Smearcraft paint-on effect tools
 smearhost loads the Smearcraft plug-in as the illustration host does and
 drives its nineteen tools over SVG drawings: from the command line
 (paint, convert, sessions), or by hand in a browser page (the studio).
 The package holds the plug-in's Linux module, which smearhost finds
 without flags.
EOF
DEBNAME=smearhost_${VERSION}_$ARCH.deb
rm -f "$OUT/$DEBNAME"
dpkg-deb --build --root-owner-group "$DEB" "$OUT/$DEBNAME" >/dev/null

(cd "$OUT" && sha256sum "$ZIPNAME.zip" "$DEBNAME" >SHA256SUMS)
echo "package: $OUT/$ZIPNAME.zip"
echo "package: $OUT/$DEBNAME"
