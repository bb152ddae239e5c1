# Sourced by setup.sh and test.sh (ROOT set): the set-up's record of why Wine
# could not be installed, and what the test command makes of it.
#
# The record is two lines: the cause ("mirror" when a package index failed or
# the i386 and amd64 halves of a library differ, "other" otherwise) and the
# reason as one sentence. Only the set-up writes it; test.sh trusts the mirror
# as the cause only on this record's word, never on a guess of its own.

WINE_RECORD=${SMEAR_SETUP_RECORD:-$ROOT/.setup/wine-unavailable}

# The test stages that run the Windows build under Wine, as test.sh names them.
WINE_STAGES=("Windows tests under Wine" "session parity")

wine_stage_list() {
  local IFS=,
  echo "${WINE_STAGES[*]}" | sed 's/,/, /g'
}

wine_record_write() {  # cause, reason
  mkdir -p "$(dirname "$WINE_RECORD")" && printf '%s\n%s\n' "$1" "$2" >"$WINE_RECORD"
}

wine_record_clear() {
  rm -f "$WINE_RECORD"
}

wine_installed() {  # both halves: the i386 one runs the 32-bit build
  command -v wine >/dev/null 2>&1 &&
    dpkg-query -W -f='${Status}\n' wine32:i386 2>/dev/null | grep -q '^install ok installed$'
}

# Sets WINE_MISSING (empty when Wine is there) and WINE_SKIP: "not run" when
# the stages that need Wine are to be reported as not run rather than failed,
# which is only under CI=true with the set-up's record naming the mirror.
wine_decide() {
  WINE_MISSING=""
  WINE_SKIP=""
  wine_installed && return 0
  local cause="" reason=""
  if [ -f "$WINE_RECORD" ]; then
    { read -r cause; read -r reason; } <"$WINE_RECORD"
  fi
  if [ -n "$reason" ]; then
    WINE_MISSING=$reason
  else
    WINE_MISSING="Wine (wine32:i386) is not installed; scripts/setup.sh installs it"
  fi
  if [ "${CI:-}" = true ] && [ "$cause" = mirror ]; then
    WINE_SKIP="not run"
  fi
}
