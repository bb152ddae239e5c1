#!/usr/bin/env bash
# Installs everything the builds, the tests and the demo need on Debian 12:
# the native toolchain and libraries, the mingw-w64 toolchain for the 32-bit
# Windows build, Wine (32-bit) to run that build, librsvg to draw SVG as a
# person sees it, and the packages whose SVG files the round-trip tests
# read (tests/real_svg/files.txt), the studio's HTTP server library, and
# Chromium with its WebDriver for the studio's browser test.
#
# A package mirror can be caught in the middle of a sync: an index whose size
# does not match its release file, or the i386 half of a library older than
# the amd64 half already installed. The set-up lives with that: apt retries
# each download, an update that still reports a failed index is tried again
# after a pause, and whatever the other indexes serve is installed anyway.
# When Wine's 32-bit half cannot be installed, one message says why (the
# failed index, or which packages are at which versions) and which test
# stages cannot run; the reason is recorded for scripts/test.sh, and the
# set-up exits non-zero, except under CI=true when the mirror is the cause.
#
# Environment: SMEAR_SETUP_RETRY_PAUSES (seconds between updates, default
# "30 60 120"), SMEAR_SETUP_RECORD (where the reason is recorded),
# SMEAR_PUGIXML_SOURCE_DIR (where pugixml's source is unpacked).
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/wine_record.sh
. "$ROOT/scripts/wine_record.sh"

PACKAGES=(
  cmake ninja-build g++ pkg-config dpkg-dev
  googletest libbenchmark-dev nlohmann-json3-dev libcli11-dev libpugixml-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  clang libclang-rt-14-dev
  librsvg2-dev librsvg2-bin librsvg2-tests tango-icon-theme libexpat1-dev
  libcpp-httplib-dev chromium chromium-driver
)
# Installed apart from the rest: its i386 half is what a mirror in mid-sync
# most often cannot serve.
WINE_PACKAGES=(wine wine32:i386)

read -r -a PAUSES <<<"${SMEAR_SETUP_RETRY_PAUSES:-30 60 120}"
APT=(apt-get -o Acquire::Retries=3)
export DEBIAN_FRONTEND=noninteractive

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

say() { echo "setup: $*"; }

installed() {  # package: true when dpkg has it installed
  dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

missing() {  # packages...: those not installed, one a line
  local p
  for p; do installed "$p" || echo "$p"; done
}

# The indexes an apt-get update's output says it could not fetch, one a line:
# "URL (reason)". apt says so with E: or W: depending on the failure.
failed_indexes() {
  sed -n 's/^[EW]: Failed to fetch \([^ ]*\)[[:space:]]*\(.*[^[:space:]]\)[[:space:]]*$/\1 (\2)/p' | sort -u
}

# Runs apt-get update with the given options, and again after each pause
# while an index fails. FAILED_INDEXES holds what still failed; true when
# nothing did.
FAILED_INDEXES=""
update_indexes() {
  local try=1 out rc pause
  for pause in "${PAUSES[@]}" last; do
    out=$($SUDO "${APT[@]}" "$@" update 2>&1)
    rc=$?
    FAILED_INDEXES=$(failed_indexes <<<"$out")
    if [ "$rc" -eq 0 ] && [ -z "$FAILED_INDEXES" ]; then
      [ "$try" -eq 1 ] || say "update try $try: every index fetched"
      return 0
    fi
    [ -n "$FAILED_INDEXES" ] || FAILED_INDEXES="apt-get update (exit $rc: $(tail -n 1 <<<"$out"))"
    if [ "$pause" = last ]; then
      say "update try $try: $(head -n 1 <<<"$FAILED_INDEXES") failed; giving up after $try tries"
      return 1
    fi
    say "update try $try: $(head -n 1 <<<"$FAILED_INDEXES") failed; trying again in $pause s"
    sleep "$pause"
    try=$((try + 1))
  done
}

# Installs the packages in one go; when that fails, one by one, so that what
# the working indexes serve is installed whatever else fails. NOT_INSTALLED
# gathers the packages that could not be installed.
NOT_INSTALLED=()
install_packages() {
  [ "$#" -gt 0 ] || return 0
  $SUDO "${APT[@]}" install -y --no-install-recommends "$@" && return 0
  say "installing the packages one by one, so that one failure holds back no other"
  local p
  for p; do
    installed "$p" && continue
    $SUDO "${APT[@]}" install -y --no-install-recommends "$p" >/dev/null 2>&1 || NOT_INSTALLED+=("$p")
  done
  [ "${#NOT_INSTALLED[@]}" -eq 0 ]
}

# The i386 packages that installing Wine would need and cannot have because
# their version differs from the amd64 half installed (multiarch needs both at
# one version), one a line: "name (amd64 V, i386 W)".
version_skew() {
  local names
  names=$($SUDO "${APT[@]}" install -s --no-install-recommends "${WINE_PACKAGES[@]}" 2>&1 |
          grep -o '[A-Za-z0-9.+-]*:i386' | sed 's/:i386$//' | sort -u)
  [ -n "$names" ] || return 0
  # One query each for all names: apt-cache loads its cache once a call.
  join -j 1 \
    <(dpkg-query -W -f='${Package} ${Status} ${Version}\n' $(sed 's/$/:amd64/' <<<"$names") 2>/dev/null |
        awk '$2 == "install" && $3 == "ok" && $4 == "installed" { print $1, $5 }' | sort -u) \
    <(apt-cache policy $(sed 's/$/:i386/' <<<"$names") 2>/dev/null |
        awk '/^[^ ].*:i386:$/ { sub(/:i386:$/, ""); name = $0 }
             /^ *Candidate:/ { print name, $2 }' | sort -u) |
    awk '$2 != $3 { print $1 " (amd64 " $2 ", i386 " $3 ")" }'
}

# Wine's 32-bit half needs the i386 architecture before apt can see it.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi

status=0
todo=$(missing "${PACKAGES[@]}" "${WINE_PACKAGES[@]}")
if [ -z "$todo" ]; then
  say "every package is already installed"
  wine_record_clear
else
  say "installing:" $todo
  update_indexes
  update_failures=$FAILED_INDEXES
  if ! install_packages $(missing "${PACKAGES[@]}"); then
    say "could not install: $(missing "${PACKAGES[@]}" | tr '\n' ' ')"
    status=1
  fi
  if [ -z "$(missing "${WINE_PACKAGES[@]}")" ]; then
    wine_record_clear
  elif $SUDO "${APT[@]}" install -y --no-install-recommends "${WINE_PACKAGES[@]}"; then
    wine_record_clear
  else
    skew=$(version_skew)
    cause=other
    why="apt-get could not install it"
    if [ -n "$update_failures" ] || [ -n "$skew" ]; then
      cause=mirror
      why=""
      [ -z "$update_failures" ] || why="the package index $(paste -sd ';' <<<"$update_failures" | sed 's/;/; /g') could not be fetched"
      [ -z "$skew" ] || why="${why:+$why, and }its i386 libraries are not at the versions of their installed amd64 halves: $(paste -sd ';' <<<"$skew" | sed 's/;/; /g')"
    fi
    reason="Wine's 32-bit half (wine32:i386) cannot be installed: $why"
    wine_record_write "$cause" "$reason"
    say "$reason. Without Wine these test stages cannot run: $(wine_stage_list)."
    if [ "${CI:-}" = true ] && [ "$cause" = mirror ]; then
      say "CI=true and the mirror is the cause: finishing; scripts/test.sh reports those stages as not run"
    else
      status=1
    fi
  fi
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
  say "fetching Debian's source of pugixml $version for the Windows build"
  if update_indexes "${apt_src[@]}" &&
     (cd "$work" && "${APT[@]}" "${apt_src[@]}" source --download-only "pugixml=$version" >/dev/null &&
        dpkg-source --no-check -x pugixml_*.dsc pugixml >/dev/null); then
    $SUDO mkdir -p "$(dirname "$PUGIXML_SRC")"
    $SUDO rm -rf "$PUGIXML_SRC"
    $SUDO cp -r "$work/pugixml" "$PUGIXML_SRC"
  else
    say "could not fetch pugixml's source; the Windows build needs it"
    status=1
  fi
fi

exit "$status"
