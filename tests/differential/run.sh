#!/usr/bin/env bash
# Compares the POSIX version readers with Wine's own version.dll: for every DLL in a fresh Wine
# prefix's system32 (and the PE fixtures of the native build), the first translation and the
# FileVersion must come out the same. Wine runs as a German system, like the setup's users.
#
#   tests/differential/run.sh <native-build-dir> <x64-build-dir>
#
# Exits non-zero on any difference, or when fewer than 20 files with a version were compared.
set -uo pipefail

native_dir=${1:?usage: $0 <native-build-dir> <x64-build-dir>}
windows_dir=${2:?usage: $0 <native-build-dir> <x64-build-dir>}
native=$(find "$native_dir" -type f -name native_versions -perm -u+x 2>/dev/null | head -1)
reference=$(find "$windows_dir" -type f -name wine_versions.exe 2>/dev/null | head -1)
if [ -z "$native" ] || [ -z "$reference" ]; then
    echo "differential: build native_versions (native) and wine_versions.exe (x64) first" >&2
    exit 1
fi

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
cleanup() {
    wineserver -k >/dev/null 2>&1
    [ -n "${QUARNEL_KEEP_DIFFERENTIAL:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
german_wine() { env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 wine "$@"; }
german_wine wineboot -i >/dev/null 2>&1
wineserver -w

# Windows paths for the reference, POSIX paths for ours; both print one line per file, in order.
system32=$WINEPREFIX/drive_c/windows/system32
files=("$system32"/*.dll)
fixtures=$(cd "$native_dir" && pwd)/fixtures/pe
[ -d "$fixtures" ] && files+=("$fixtures"/*)

: >"$work/wine.txt"
batch=()
flush() {
    [ ${#batch[@]} -eq 0 ] && return
    german_wine "$reference" "${batch[@]}" | tr -d '\r' >>"$work/wine.txt"
    batch=()
}
for f in "${files[@]}"; do
    case $f in
    "$system32"/*) batch+=("C:\\windows\\system32\\${f##*/}") ;;
    *) batch+=("Z:$f") ;;
    esac
    # The Windows command line holds at most 32767 characters.
    [ ${#batch[@]} -ge 100 ] && flush
done
flush
"$native" "${files[@]}" >"$work/native.txt"

with_version=$(awk -F'\t' '$3 != "-"' "$work/wine.txt" | wc -l)
echo "differential: ${#files[@]} files, $with_version with a FileVersion"
status=0
if ! diff -u --label "Wine version.dll" --label "POSIX readers" "$work/wine.txt" "$work/native.txt"; then
    echo "differential: the POSIX readers differ from Wine's version.dll" >&2
    status=1
fi
if [ "$with_version" -lt 20 ]; then
    echo "differential: too few files with a version resource to compare" >&2
    status=1
fi
exit $status
