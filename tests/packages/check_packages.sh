#!/usr/bin/env bash
# Checks the release packages as their users get them: the Debian package
# unpacked into a scratch root runs from there without flags (its version,
# a paint on an example, the studio's help, its manual page), and the zip
# holds the install note, checksums that hold, and a DLL that exports
# exactly PluginMain.
# Usage: check_packages.sh PACKAGES_FOLDER
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
PACKAGES=$(cd "$1" && pwd)
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/smear-packages.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT
status=0
fail() { echo "check_packages: $*" >&2; status=1; }

(cd "$PACKAGES" && sha256sum --quiet -c SHA256SUMS) || fail "the packages' SHA256SUMS do not hold"

# --- The Debian package ----------------------------------------------------
debs=("$PACKAGES"/smearhost_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || { echo "check_packages: expected one smearhost .deb in $PACKAGES" >&2; exit 1; }
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb -x "$deb" "$SCRATCH/root"
program=$SCRATCH/root/usr/bin/smearhost

out=$("$program" --version) || fail "smearhost --version failed"
case $out in
  "smearhost $version "*) echo "check_packages: $out" ;;
  *) fail "smearhost --version says '$out', the package is version $version" ;;
esac

# No --module: the program finds the module the package installed.
if "$program" paint --tool rotate --in "$ROOT/examples/leaves.svg" --out "$SCRATCH/leaves.svg" \
     --from 40,60 --to 300,200 --set rotateAngle=8 --quiet \
   && grep -q '<svg' "$SCRATCH/leaves.svg" && ! cmp -s "$ROOT/examples/leaves.svg" "$SCRATCH/leaves.svg"; then
  echo "check_packages: the unpacked smearhost painted examples/leaves.svg"
else
  fail "the unpacked smearhost could not paint examples/leaves.svg"
fi

if "$program" studio --help | grep -q -- '--port'; then
  echo "check_packages: the unpacked smearhost has the studio"
else
  fail "the unpacked smearhost's studio --help does not list --port"
fi

man=$SCRATCH/root/usr/share/man/man1/smearhost.1.gz
if gzip -dc "$man" 2>/dev/null | grep -q '^\.SS paint'; then
  echo "check_packages: the manual page has every command"
else
  fail "no manual page for smearhost, or it lacks the paint command"
fi

# --- The zip for the host's users ------------------------------------------
zips=("$PACKAGES"/Smearcraft-*-plugin.zip)
[ "${#zips[@]}" -eq 1 ] && [ -f "${zips[0]}" ] || { echo "check_packages: expected one plug-in zip in $PACKAGES" >&2; exit 1; }
mkdir -p "$SCRATCH/zip"
(cd "$SCRATCH/zip" && cmake -E tar xf "${zips[0]}")
folder=$SCRATCH/zip/Smearcraft-$version-plugin
for f in Smearcraft.aip INSTALL.txt SHA256SUMS; do
  [ -f "$folder/$f" ] || fail "the zip has no $f"
done
(cd "$folder" && sha256sum --quiet -c SHA256SUMS) || fail "the zip's SHA256SUMS do not hold"

# The export name table lists "[ordinal] name" lines after its header.
exports=$("$OBJDUMP" -p "$folder/Smearcraft.aip" |
  awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && /^[[:space:]]*\[/ {print $NF; next} on {on = 0}' |
  tr '\n' ' ' | sed 's/ $//')
if [ "$exports" = "PluginMain" ]; then
  echo "check_packages: the zip's Smearcraft.aip exports PluginMain only"
else
  fail "the zip's Smearcraft.aip exports '$exports', expected exactly 'PluginMain'"
fi
exit $status
