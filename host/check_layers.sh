#!/usr/bin/env bash
# Holds the stand-in host to its layering. USES below is the design: for each
# folder of host/, the folders whose headers it includes (hostapi is the
# plug-in interface at the top of the repository). Each folder's
# CMakeLists.txt links exactly those targets, so the compiler refuses any
# other #include in the sources it builds; this check covers what the
# compiler cannot see: headers that no source of their own library includes,
# sources one build leaves out (librsvg's renderer on Windows), link lines that
# drift from the table, and cycles, which static libraries would link anyway.
#
# It fails when
#   - a file includes ("...") a header of a folder its folder does not use,
#     or a header that is in no host folder and not in hostapi/;
#   - a folder uses a folder it includes nothing from;
#   - a folder's target_link_libraries names other host targets than USES;
#   - USES has a cycle;
#   - host/ holds a source outside the folders, or a folder USES does not know.
#
# Usage: check_layers.sh [HOST_DIR]   (default: the folder of this script)
set -uo pipefail

HOST=${1:-$(cd "$(dirname "$0")" && pwd)}
HOSTAPI=$HOST/../hostapi

declare -A USES=(
    [xml]=""
    [document]="hostapi"
    [module]="hostapi"
    [dialogs]="hostapi module xml"
    [svg]="hostapi document xml"
    [suites]="hostapi document dialogs module"
    [session]="document dialogs suites svg xml"
    [studio]="session suites svg dialogs document module"
    [app]="session suites svg render studio"
    [render]=""
)

failures=0
fail() {
    echo "check_layers: $*" >&2
    failures=$((failures + 1))
}

uses() {  # folder, used folder
    [[ " ${USES[$1]} " == *" $2 "* ]]
}

target_of() {  # folder -> its CMake target
    if [ "$1" = app ]; then echo smearhost; else echo "smearhost_$1"; fi
}

# Every file of host/ belongs to a folder the table knows.
for path in "$HOST"/*; do
    name=$(basename "$path")
    if [ -d "$path" ]; then
        [ -n "${USES[$name]+x}" ] || fail "host/$name/ is not in the layering table"
    else
        case $name in
            *.cpp | *.h) fail "host/$name: sources belong in a subsystem folder" ;;
        esac
    fi
done

# The folder that holds a header: the including file's own folder first (as
# the compiler looks), then exactly one host folder, or hostapi.
owner_of() {  # header, including folder
    local header=$1 folder=$2 found=() f
    if [ -e "$HOST/$folder/$header" ]; then echo "$folder"; return; fi
    for f in "${!USES[@]}"; do
        [ -e "$HOST/$f/$header" ] && found+=("$f")
    done
    [ -e "$HOSTAPI/$header" ] && found+=(hostapi)
    if [ "${#found[@]}" -eq 1 ]; then echo "${found[0]}"; else echo "${found[*]-}"; fi
}

for folder in "${!USES[@]}"; do
    dir=$HOST/$folder
    if [ ! -d "$dir" ]; then
        fail "host/$folder/ is in the layering table but does not exist"
        continue
    fi
    declare -A used=()
    for file in "$dir"/*.h "$dir"/*.cpp; do
        [ -e "$file" ] || continue
        while IFS= read -r line; do
            header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$line")
            owner=$(owner_of "$header" "$folder")
            where="host/$folder/$(basename "$file"): #include \"$header\""
            if [ -z "$owner" ]; then
                fail "$where: not a header of the stand-in host or of hostapi"
            elif [[ $owner == *" "* ]]; then
                fail "$where: a header of that name is in several folders ($owner)"
            elif [ "$owner" != "$folder" ]; then
                used[$owner]=1
                uses "$folder" "$owner" || fail "$where: $folder/ may not use $owner/ (it uses: ${USES[$folder]:-nothing})"
            fi
        done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
    done
    for dep in ${USES[$folder]}; do
        [ -n "${used[$dep]+x}" ] || fail "$folder/ uses $dep/ in the table but includes nothing from it"
    done
    unset used

    # The link line names the same targets as the table.
    cmake=$dir/CMakeLists.txt
    if [ ! -e "$cmake" ]; then
        fail "host/$folder/ has no CMakeLists.txt"
        continue
    fi
    self=$(target_of "$folder")
    linked=$(sed 's/#.*//' "$cmake" | tr '\n' ' ' | grep -oE 'target_link_libraries\([^)]*\)' |
        grep -oE '\b(hostapi|smearhost_[a-z]+)\b' | grep -vx "$self" | sort -u | tr '\n' ' ')
    expected=$(for dep in ${USES[$folder]}; do
        if [ "$dep" = hostapi ]; then echo hostapi; else target_of "$dep"; fi
    done | sort -u | tr '\n' ' ')
    [ "$linked" = "$expected" ] ||
        fail "host/$folder/CMakeLists.txt links [${linked% }], the table says [${expected% }]"
done

# No cycles: peel off folders whose uses are all peeled until none is left.
declare -A peeled=([hostapi]=1)
remaining=${#USES[@]}
while [ "$remaining" -gt 0 ]; do
    progress=0
    for folder in "${!USES[@]}"; do
        [ -n "${peeled[$folder]+x}" ] && continue
        ready=1
        for dep in ${USES[$folder]}; do
            [ -n "${peeled[$dep]+x}" ] || ready=0
        done
        if [ "$ready" -eq 1 ]; then
            peeled[$folder]=1
            remaining=$((remaining - 1))
            progress=1
        fi
    done
    if [ "$progress" -eq 0 ]; then
        left=$(for f in "${!USES[@]}"; do [ -n "${peeled[$f]+x}" ] || echo "$f"; done | sort | tr '\n' ' ')
        fail "the layering table has a cycle among: ${left% }"
        break
    fi
done

if [ "$failures" -gt 0 ]; then
    echo "check_layers: $failures problem(s)" >&2
    exit 1
fi
echo "check_layers: ${#USES[@]} folders, every #include and link line within the layering"
