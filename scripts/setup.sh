#!/usr/bin/env bash
# Installs everything the builds, the tests and the demo need on Debian 12:
# the native toolchain and libraries, the mingw-w64 toolchain for the 32-bit
# Windows build, Wine (32-bit) to run that build, librsvg to draw SVG as a
# person sees it, and the packages whose SVG files the round-trip tests
# read (tests/real_svg/files.txt), the studio's HTTP server library, and
# Chromium with its WebDriver for the studio's browser test.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
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
  exit 0
fi

echo "setup: installing:" $todo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${PACKAGES[@]}"
