#!/usr/bin/env bash
# Installs everything the builds, the tests and the demo need on Debian 12:
# the native toolchain and libraries, the mingw-w64 toolchain for the 32-bit
# Windows build, Wine (32-bit) to run that build, librsvg to draw SVG as a
# person sees it, and the packages whose SVG files the round-trip tests
# read (tests/real_svg/files.txt), the studio's HTTP server library, and
# Chromium with its WebDriver for the studio's browser test.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config dpkg-dev
  googletest libbenchmark-dev nlohmann-json3-dev libcli11-dev libpugixml-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386
  clang libclang-rt-14-dev
  librsvg2-dev librsvg2-bin librsvg2-tests tango-icon-theme
  libcpp-httplib-dev chromium chromium-driver
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

missing() {
  local p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

# Wine's 32-bit half needs the i386 architecture before apt can see it.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

todo=$(missing)
if [ -z "$todo" ]; then
  echo "setup: every package is already installed"
else
  echo "setup: installing:" $todo
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"
fi

# Debian ships pugixml for Linux only; the Windows smearhost.exe compiles it
# from Debian's own source package, of the same version as libpugixml-dev.
# apt checks the files against the archive's signed index; the source index
# lives in a folder of its own, so the machine's apt sources stay as they are.
PUGIXML_SRC=${SMEAR_PUGIXML_SOURCE_DIR:-/usr/local/src/smearcraft/pugixml}
if [ ! -f "$PUGIXML_SRC/src/pugixml.cpp" ]; then
  version=$(dpkg-query -W -f='${Version}' libpugixml-dev)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/lists/partial"
  # The mirror and release this machine installs from (a proxy or a local
  # mirror serves sources as it serves packages).
  mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1 || true)
  [ -n "$mirror" ] || mirror=$(sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\/debian\)[[:space:]].*/\2/p' /etc/apt/sources.list 2>/dev/null | head -n 1 || true)
  [ -n "$mirror" ] || mirror=http://deb.debian.org/debian
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $release main" \
    >"$work/sources.list"
  apt_src=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
           -o "Dir::State::Lists=$work/lists" -o APT::Sandbox::User=root)
  echo "setup: fetching Debian's source of pugixml $version for the Windows build"
  apt-get "${apt_src[@]}" update >/dev/null
  (cd "$work" && apt-get "${apt_src[@]}" source --download-only "pugixml=$version" >/dev/null &&
     dpkg-source --no-check -x pugixml_*.dsc pugixml >/dev/null)
  $SUDO mkdir -p "$(dirname "$PUGIXML_SRC")"
  $SUDO rm -rf "$PUGIXML_SRC"
  $SUDO cp -r "$work/pugixml" "$PUGIXML_SRC"
fi
