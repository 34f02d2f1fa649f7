#!/usr/bin/env bash
# Compares the POSIX version readers with Wine's own version.dll, the 64-bit one and the 32-bit
# one: for every DLL in a fresh Wine prefix's system folder of that architecture (system32 for a
# 64-bit program, syswow64 for a 32-bit one) and the PE and NE fixtures of the native build, the
# first translation and the FileVersion must come out the same. Wine runs as a German system, like
# the setup's users.
#
#   tests/differential/run.sh <native-build-dir> <windows-build-dir>...
#
# Each Windows build (x64, x86) gives its wine_versions.exe, which runs under Wine with that
# architecture's version.dll. 16-bit modules (NE) are compared with both: the 64-bit version.dll
# reads them as well, so a machine whose kernel runs no 32-bit programs compares them too (see
# sixteen_bit_modules). Their lines are printed as both readers give them. Exits non-zero on any
# difference, or when fewer than 20 files with a version, or fewer than 3 16-bit ones, were
# compared.
set -uo pipefail

native_dir=${1:?usage: $0 <native-build-dir> <windows-build-dir>...}
shift
[ $# -gt 0 ] || { echo "usage: $0 <native-build-dir> <windows-build-dir>..." >&2; exit 1; }
native=$(find "$native_dir" -type f -name native_versions -perm -u+x 2>/dev/null | head -1)
if [ -z "$native" ]; then
    echo "differential: build native_versions (native) first" >&2
    exit 1
fi
here=$(cd "$(dirname "$0")" && pwd)
. "$here/german-wine.sh"
fixtures=$(cd "$native_dir" && pwd)/fixtures/pe

# The 16-bit modules of Wine for the 64-bit comparison. Where the kernel runs 32-bit programs,
# the prefix's syswow64 holds them (ole2nls.dll, shell.dll, ...); where it does not, wineboot
# leaves syswow64 empty, and the same modules are taken from the 16-bit builtins of 32-bit Wine,
# each of which carries its module whole. Prints their paths, one a line.
sixteen_bit_modules() {
    local syswow64=$WINEPREFIX/drive_c/windows/syswow64 listed=() position
    listed=("$syswow64"/*)
    if [ -e "${listed[0]}" ]; then
        for position in $(python3 "$here/ne_modules.py" list "${listed[@]}"); do
            echo "${listed[$((position - 1))]}"
        done
        return
    fi
    local builtins
    for builtins in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows \
        /usr/lib32/wine/i386-windows; do
        [ -d "$builtins" ] || continue
        python3 "$here/ne_modules.py" extract "$work/ne16" "$builtins"/*16
        return
    done
}

# compare <wine_versions.exe> <system folder name> [more files]: Windows paths for the reference,
# POSIX paths for ours; both print one line per file, in order.
compare() {
    local reference=$1 folder=$2
    shift 2
    local system=$WINEPREFIX/drive_c/windows/$folder
    local out=$work/$folder
    mkdir -p "$out"
    local files=("$system"/*.dll)
    [ -d "$fixtures" ] && files+=("$fixtures"/*)
    files+=("$@")

    : >"$out/wine.txt"
    local batch=() f
    for f in "${files[@]}"; do
        case $f in
        "$system"/*) batch+=("C:\\windows\\$folder\\${f##*/}") ;;
        *) batch+=("Z:$f") ;;
        esac
        # The Windows command line holds at most 32767 characters.
        if [ ${#batch[@]} -ge 100 ]; then
            german_wine "$reference" "${batch[@]}" | tr -d '\r' >>"$out/wine.txt"
            batch=()
        fi
    done
    [ ${#batch[@]} -eq 0 ] || german_wine "$reference" "${batch[@]}" | tr -d '\r' >>"$out/wine.txt"
    "$native" "${files[@]}" >"$out/native.txt"

    # The lines of the 16-bit modules, by their position among the files.
    python3 "$here/ne_modules.py" list "${files[@]}" >"$out/ne16.txt"
    pick() { awk 'NR == FNR { want[$1]; next } FNR in want' "$out/ne16.txt" "$1"; }
    pick "$out/wine.txt" >"$out/wine16.txt"
    pick "$out/native.txt" >"$out/native16.txt"

    local with_version sixteen status=0
    with_version=$(awk -F'\t' '$3 != "-"' "$out/wine.txt" | wc -l)
    sixteen=$(awk -F'\t' '$3 != "-"' "$out/wine16.txt" | wc -l)
    echo "differential ($folder): ${#files[@]} files, $with_version with a FileVersion," \
        "$sixteen of them 16-bit modules"
    echo "16-bit modules with a version resource ($folder), Wine's version.dll | the POSIX readers:"
    paste "$out/wine16.txt" "$out/native16.txt" |
        awk -F'\t' '$2 != "-" || $5 != "-" { print "    " $0 }'
    if ! diff -u --label "Wine version.dll ($folder)" --label "POSIX readers" "$out/wine.txt" \
        "$out/native.txt"; then
        echo "differential: the POSIX readers differ from Wine's version.dll ($folder)" >&2
        status=1
    fi
    if [ "$with_version" -lt 20 ]; then
        echo "differential: too few files with a version resource to compare ($folder)" >&2
        status=1
    fi
    if [ "$sixteen" -lt 3 ]; then
        echo "differential: too few 16-bit modules with a version resource to compare ($folder)" >&2
        status=1
    fi
    return $status
}

status=0
for windows_dir in "$@"; do
    reference=$(find "$windows_dir" -type f -name wine_versions.exe 2>/dev/null | head -1)
    if [ -z "$reference" ]; then
        echo "differential: build wine_versions.exe in $windows_dir first" >&2
        status=1
        continue
    fi
    # A 32-bit program sees the 32-bit system DLLs of a 64-bit Windows in syswow64.
    if file -b "$reference" | grep -q 'PE32+'; then
        mapfile -t modules16 < <(sixteen_bit_modules)
        compare "$reference" system32 "${modules16[@]}" || status=1
    else
        compare "$reference" syswow64 || status=1
    fi
done
exit $status
