#!/usr/bin/env bash
# Compares the POSIX version readers with Wine's own version.dll, the 64-bit one and the 32-bit
# one: for every DLL in a fresh Wine prefix's system folder of that architecture (system32 for a
# 64-bit program, syswow64 for a 32-bit one) and the PE fixtures of the native build, the first
# translation and the FileVersion must come out the same. Wine runs as a German system, like the
# setup's users.
#
#   tests/differential/run.sh <native-build-dir> <windows-build-dir>...
#
# Each Windows build (x64, x86) gives its wine_versions.exe, which runs under Wine with that
# architecture's version.dll. Exits non-zero on any difference, or when fewer than 20 files with a
# version were compared.
set -uo pipefail

native_dir=${1:?usage: $0 <native-build-dir> <windows-build-dir>...}
shift
[ $# -gt 0 ] || { echo "usage: $0 <native-build-dir> <windows-build-dir>..." >&2; exit 1; }
native=$(find "$native_dir" -type f -name native_versions -perm -u+x 2>/dev/null | head -1)
if [ -z "$native" ]; then
    echo "differential: build native_versions (native) first" >&2
    exit 1
fi
. "$(dirname "$0")/german-wine.sh"
fixtures=$(cd "$native_dir" && pwd)/fixtures/pe

# compare <wine_versions.exe> <system folder name>: Windows paths for the reference, POSIX paths
# for ours; both print one line per file, in order.
compare() {
    local reference=$1 folder=$2
    local system=$WINEPREFIX/drive_c/windows/$folder
    local out=$work/$folder
    mkdir -p "$out"
    local files=("$system"/*.dll)
    [ -d "$fixtures" ] && files+=("$fixtures"/*)

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

    local with_version status=0
    with_version=$(awk -F'\t' '$3 != "-"' "$out/wine.txt" | wc -l)
    echo "differential ($folder): ${#files[@]} files, $with_version with a FileVersion"
    if ! diff -u --label "Wine version.dll ($folder)" --label "POSIX readers" "$out/wine.txt" \
        "$out/native.txt"; then
        echo "differential: the POSIX readers differ from Wine's version.dll ($folder)" >&2
        status=1
    fi
    if [ "$with_version" -lt 20 ]; then
        echo "differential: too few files with a version resource to compare ($folder)" >&2
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
        compare "$reference" system32 || status=1
    else
        compare "$reference" syswow64 || status=1
    fi
done
exit $status
