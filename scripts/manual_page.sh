#!/usr/bin/env bash
# Writes smearhost's manual page (roff) to standard output, made from what
# the program itself says: `smearhost --help` and each command's --help.
# Usage: manual_page.sh path/to/smearhost VERSION
set -euo pipefail

PROGRAM=$1
VERSION=$2

# Text as roff shows it literally (backslashes escaped, a line that starts
# with a dot or a quote escaped), the program named as a user types it.
roff_text() {
  awk -v path="$PROGRAM" '{ while ((i = index($0, path)) > 0) $0 = substr($0, 1, i - 1) "smearhost" substr($0, i + length(path)); print }' |
    sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
}

main_help=$("$PROGRAM" --help)
# The commands are the first words of the lines under "Subcommands:".
commands=$(printf '%s\n' "$main_help" | awk 'tolower($0) ~ /^subcommands:/ {on = 1; next}
                                             on && /^[[:space:]]+[a-z]/ {print $1; next}
                                             on && /^[^[:space:]]/ {on = 0}')
[ -n "$commands" ] || { echo "manual_page: no commands in $PROGRAM --help" >&2; exit 1; }

cat <<EOF
.TH SMEARHOST 1 "" "smearhost $VERSION" "User Commands"
.SH NAME
smearhost \\- drive the Smearcraft plug-in's tools over SVG drawings
.SH SYNOPSIS
.B smearhost
[\\fB\\-\\-module\\fR \\fIPATH\\fR] \\fICOMMAND\\fR [\\fIOPTIONS\\fR]
.SH DESCRIPTION
smearhost loads the Smearcraft plug-in module as the illustration host
does and drives its nineteen paint-on effect tools over SVG drawings. It
finds the module beside itself or in \\fI../lib/smearcraft/\\fR from its own
folder; \\fB\\-\\-module\\fR names another, before or after the command.
.PP
.nf
EOF
printf '%s\n' "$main_help" | roff_text
echo ".fi"
echo ".SH COMMANDS"
for c in $commands; do
  echo ".SS $c"
  echo ".nf"
  "$PROGRAM" "$c" --help | roff_text
  echo ".fi"
done
cat <<EOF
.SH EXIT STATUS
0 when the command did what it was asked, 1 when it could not (the reason
is on the error stream, after \\fBsmearhost:\\fR), 2 for a mistake in the
command line itself.
.SH FILES
.TP
.I /usr/lib/smearcraft/Smearcraft.so, /usr/lib/smearcraft/Smearcraft.res
the plug-in's Linux module and its compiled resources
.SH SEE ALSO
/usr/share/doc/smearhost/README.md
EOF
