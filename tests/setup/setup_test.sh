#!/usr/bin/env bash
# Runs scripts/setup.sh against a stand-in package mirror (stand-in-bin/, first
# on the PATH: apt-get, apt-cache, dpkg, dpkg-query, sudo and sleep), so that
# nothing of the machine's packages is touched, and checks what it does when
# the mirror is whole, fails once, keeps failing, or serves i386 halves older
# than the amd64 ones installed; then what test.sh makes of the record it
# leaves. Prints "N passed, N failed" and exits non-zero on any failure.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
HERE=$ROOT/tests/setup
WORK=$(mktemp -d /tmp/smear-setup-test.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
passed=0
failed=0

check() {  # description, then a command that must succeed
  local what=$1; shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "setup_test: FAILED: $what" >&2
    sed 's/^/    | /' "$OUT" >&2
  fi
}

# Runs the set-up against MIRROR in a fresh state folder (or the one given);
# leaves its output in $OUT, its exit code in $RC, its state in $STATE.
run_setup() {  # mirror, [extra environment...]
  local mirror=$1; shift
  STATE=${KEEP_STATE:-$(mktemp -d "$WORK/state.XXXXXX")}
  mkdir -p "$STATE/pugixml/src" && touch "$STATE/pugixml/src/pugixml.cpp"
  OUT=$STATE/out
  RC=0
  env -u CI -u SMEAR_SETUP_RETRY_PAUSES \
      PATH="$HERE/stand-in-bin:$PATH" MIRROR="$mirror" STATE="$STATE" \
      SMEAR_SETUP_RECORD="$STATE/record" SMEAR_PUGIXML_SOURCE_DIR="$STATE/pugixml" "$@" \
      bash "$ROOT/scripts/setup.sh" >"$OUT" 2>&1 || RC=$?
}

installed() { grep -qxF "$1" "$STATE/installed" 2>/dev/null; }
said() { grep -qF -- "$1" "$OUT"; }
count() { grep -cF -- "$1" "$OUT"; }
everything_but_wine_installed() {
  local p
  for p in cmake g++ libpugixml-dev g++-mingw-w64-i686-posix librsvg2-bin chromium-driver; do
    installed "$p" || return 1
  done
}
record_cause() { head -n 1 "$STATE/record" 2>/dev/null; }

# The test command's decision, from the record the set-up left.
decide() {  # CI value ("" for unset)
  (
    ROOT=$ROOT
    SMEAR_SETUP_RECORD=$STATE/record
    CI=$1
    . "$ROOT/scripts/wine_record.sh"
    wine_installed() { false; }
    wine_decide
    echo "${WINE_SKIP:-fail}|$WINE_MISSING"
  )
}

decided() {  # CI value, pattern the decision must match
  # shellcheck disable=SC2053
  [[ "$(decide "$1")" == $2 ]]
}

# A whole mirror: everything installed, Wine too, no record, no retry.
run_setup whole
check "whole mirror: exit 0" [ "$RC" -eq 0 ]
check "whole mirror: Wine installed" installed wine32:i386
check "whole mirror: i386 added" grep -qx i386 "$STATE/architectures"
check "whole mirror: no record" [ ! -e "$STATE/record" ]
check "whole mirror: no retry" [ ! -e "$STATE/pauses" ]

# Failing once: one line says so, the second update succeeds.
run_setup once
check "mirror failing once: exit 0" [ "$RC" -eq 0 ]
check "mirror failing once: one retry line" [ "$(count 'trying again in')" -eq 1 ]
check "mirror failing once: the line names the index" said "update try 1: http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz (File has unexpected size"
check "mirror failing once: Wine installed" installed wine32:i386
check "mirror failing once: no record" [ ! -e "$STATE/record" ]

# Failing always: the default pauses are a few minutes in all, everything
# else is installed, one message names the index and the stages.
run_setup always
check "mirror failing always: exit non-zero" [ "$RC" -ne 0 ]
check "mirror failing always: three retries" [ "$(count 'trying again in')" -eq 3 ]
check "mirror failing always: pauses add up to minutes, not more than ten" \
  [ "$(( $(paste -sd+ "$STATE/pauses") ))" -le 600 ]
check "mirror failing always: the rest installed" everything_but_wine_installed
check "mirror failing always: Wine not installed" bash -c "! grep -qx wine32:i386 '$STATE/installed'"
check "mirror failing always: the message names the index" \
  said "Wine's 32-bit half (wine32:i386) cannot be installed: the package index http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz (File has unexpected size (374820 != 376004). Mirror sync in progress?) could not be fetched"
check "mirror failing always: the message names the stages" \
  said "Without Wine these test stages cannot run: Windows tests under Wine, session parity."
check "mirror failing always: the mirror recorded as the cause" [ "$(record_cause)" = mirror ]
check "mirror failing always: test.sh fails the Wine stages outside CI" \
  decided "" "fail|Wine's 32-bit half*Packages.xz*"
check "mirror failing always: test.sh does not run them under CI=true" \
  decided true "not run|Wine's 32-bit half*Packages.xz*"

run_setup always CI=true
check "mirror failing always, CI=true: the set-up finishes" [ "$RC" -eq 0 ]
check "mirror failing always, CI=true: says so" said "CI=true and the mirror is the cause"

# i386 halves older than the amd64 ones: the skew is named, version by version.
run_setup skew
check "version skew: exit non-zero" [ "$RC" -ne 0 ]
check "version skew: names each package with both versions" \
  said "libpcre2-8-0 (amd64 10.42-1+deb12u2, i386 10.42-1); libzstd1 (amd64 1.5.4+dfsg2-5+deb12u1, i386 1.5.4+dfsg2-5)"
check "version skew: a library at one version is not named" bash -c "! grep -q 'zlib1g (' '$OUT'"
check "version skew: the mirror recorded as the cause" [ "$(record_cause)" = mirror ]
run_setup skew CI=true
check "version skew, CI=true: the set-up finishes" [ "$RC" -eq 0 ]

# Wine refused for no reason of the mirror's: CI does not look away.
run_setup refused CI=true
check "refused for another reason, CI=true: exit non-zero" [ "$RC" -ne 0 ]
check "refused for another reason: recorded as other" [ "$(record_cause)" = other ]
check "refused for another reason: test.sh fails the stages under CI=true" \
  decided true "fail|Wine's 32-bit half*apt-get could not install it"

# A later set-up that installs Wine takes the old record away.
run_setup always
KEEP_STATE=$STATE run_setup whole
check "the record of an earlier failure is cleared once Wine installs" [ ! -e "$STATE/record" ]

echo "setup_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
