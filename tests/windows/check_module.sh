#!/usr/bin/env bash
# Checks a Windows build's PE tables: the plug-in module exports exactly
# PluginMain, and the module and the programs beside it import nothing but
# system DLLs (the compiler runtime is linked in statically, so a machine with
# only the host on it can load them).
# Usage: check_module.sh path/to/Smearcraft.aip
set -euo pipefail

MODULE=$1
DIR=$(dirname "$MODULE")
OBJDUMP=${OBJDUMP:-i686-w64-mingw32-objdump}
SYSTEM_DLLS='^(kernel32|user32|gdi32|advapi32|msvcrt|ntdll|shell32|ole32|ws2_32|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
status=0

exports_of() {
  # The export name table lists "[ordinal] name" lines after its header.
  "$OBJDUMP" -p "$1" | awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && /^[[:space:]]*\[/ {print $NF; next} on {on = 0}'
}

imports_of() {
  "$OBJDUMP" -p "$1" | awk '/DLL Name:/ {print tolower($3)}' | sort -u
}

file_format=$("$OBJDUMP" -f "$MODULE" | awk '/file format/ {print $NF}')
if [ "$file_format" != "pei-i386" ]; then
  echo "check_module: $MODULE is $file_format, not a 32-bit PE module" >&2
  status=1
fi

exports=$(exports_of "$MODULE" | tr '\n' ' ' | sed 's/ $//')
if [ "$exports" != "PluginMain" ]; then
  echo "check_module: $MODULE exports '$exports', expected exactly 'PluginMain'" >&2
  status=1
else
  echo "check_module: $MODULE exports PluginMain only"
fi

for binary in "$MODULE" "$DIR/smearhost.exe" "$DIR/smear_tests.exe"; do
  [ -f "$binary" ] || { echo "check_module: missing $binary" >&2; status=1; continue; }
  bad=$(imports_of "$binary" | grep -Ev "$SYSTEM_DLLS" || true)
  if [ -n "$bad" ]; then
    echo "check_module: $binary imports non-system DLLs:" $bad >&2
    status=1
  else
    echo "check_module: $binary imports only system DLLs:" $(imports_of "$binary")
  fi
done

# The plug-in's own resources travel inside the module.
if ! "$OBJDUMP" -h "$MODULE" | grep -q '\.rsrc'; then
  echo "check_module: $MODULE has no resource section" >&2
  status=1
fi
exit $status
