#!/usr/bin/env bash
# The layering check must pass on the host as it is and fail on each kind of
# breach: each case copies host/ and hostapi/ aside, breaks one thing and
# expects check_layers.sh to fail naming it.
set -uo pipefail

SRC=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/smear-layers.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
failed=0

fresh() {  # a pristine copy in $WORK/N/host
    local copy=$WORK/$1
    mkdir -p "$copy"
    cp -r "$SRC" "$copy/host"
    cp -r "$SRC/../hostapi" "$copy/hostapi"
    echo "$copy/host"
}

expect() {  # name, pass|fail, message the check must print (for fail), host dir
    local name=$1 want=$2 message=$3 dir=$4 out status
    out=$(bash "$dir/check_layers.sh" "$dir" 2>&1)
    status=$?
    if [ "$want" = pass ] && [ "$status" -ne 0 ]; then
        echo "FAIL $name: the check failed on a clean host:"; echo "$out"; failed=1
    elif [ "$want" = fail ] && [ "$status" -eq 0 ]; then
        echo "FAIL $name: the check passed"; failed=1
    elif [ "$want" = fail ] && ! grep -qF -- "$message" <<<"$out"; then
        echo "FAIL $name: expected \"$message\" in:"; echo "$out"; failed=1
    else
        echo "ok   $name"
    fi
}

dir=$(fresh clean)
expect "the host as it is" pass "" "$dir"

# A header no source of its own folder includes: only the check sees it.
dir=$(fresh upward)
sed -i '0,/#include "document.h"/s//#include "document.h"\n#include "session.h"/' "$dir/svg/svg.h"
expect "svg/ including a session header" fail 'svg/ may not use session/' "$dir"

dir=$(fresh sideways)
echo '#include "dialog_manager.h"' >>"$dir/document/geometry.cpp"
expect "document/ including a dialogs header" fail 'document/ may not use dialogs/' "$dir"

dir=$(fresh plugin)
echo '#include "globals.h"' >>"$dir/session/session_run.cpp"
expect "a host source including a plug-in header" fail 'not a header of the stand-in host' "$dir"

dir=$(fresh link)
echo 'target_link_libraries(smearhost_svg PUBLIC smearhost_session)' >>"$dir/svg/CMakeLists.txt"
expect "a link line beyond the table" fail 'host/svg/CMakeLists.txt links' "$dir"

dir=$(fresh cycle)
sed -i 's/^    \[svg\]="hostapi document xml"/    [svg]="hostapi document xml session"/' "$dir/check_layers.sh"
echo '#include "session.h"' >>"$dir/svg/svg_write.cpp"
echo 'target_link_libraries(smearhost_svg PUBLIC smearhost_session)' >>"$dir/svg/CMakeLists.txt"
expect "a cycle in the table" fail 'cycle among: app session studio svg' "$dir"

dir=$(fresh unused)
sed -i 's/^    \[xml\]=""/    [xml]="document"/' "$dir/check_layers.sh"
expect "a use the folder does not make" fail 'xml/ uses document/ in the table but includes nothing' "$dir"

dir=$(fresh loose)
touch "$dir/stray.cpp"
expect "a source outside the folders" fail 'host/stray.cpp' "$dir"

dir=$(fresh unknown)
mkdir "$dir/extra"
expect "a folder the table does not know" fail 'host/extra/ is not in the layering table' "$dir"

exit "$failed"
