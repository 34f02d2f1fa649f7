#!/usr/bin/env bash
# Compares the POSIX profile reader with Wine's GetPrivateProfileStringA on profile files in every
# encoding Windows reads (profile_fixtures.py), and our conversion to code page 1252 with Wine's
# WideCharToMultiByte for every UTF-16 unit. Wine runs as a German system, like the setup's users.
#
#   tests/differential/run-profiles.sh <native-build-dir> <windows-build-dir>...
#
# Each Windows build folder (x64, x86) holding profile_values.exe and codepage_units.exe is
# compared in turn. Exits non-zero on any difference.
set -uo pipefail

native_dir=${1:?usage: $0 <native-build-dir> <windows-build-dir>...}
shift
[ $# -gt 0 ] || { echo "usage: $0 <native-build-dir> <windows-build-dir>..." >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
native=$(find "$native_dir" -type f -name profile_values -perm -u+x 2>/dev/null | head -1)
native_units=$(find "$native_dir" -type f -name codepage_units -perm -u+x 2>/dev/null | head -1)
if [ -z "$native" ] || [ -z "$native_units" ]; then
    echo "profiles: build profile_values and codepage_units (native) first" >&2
    exit 1
fi

. "$(dirname "$0")/german-wine.sh"

mkdir "$work/files"
python3 "$here/profile_fixtures.py" "$work/files" || exit 1
files=()
wine_files=()
for f in "$work"/files/*.ini; do
    files+=("$f")
    wine_files+=("Z:$f")
done
"$native" "$work/files/queries.txt" "${files[@]}" >"$work/native.txt"
"$native_units" >"$work/native-units.txt"

status=0
for windows_dir in "$@"; do
    reference=$(find "$windows_dir" -type f -name profile_values.exe 2>/dev/null | head -1)
    reference_units=$(find "$windows_dir" -type f -name codepage_units.exe 2>/dev/null | head -1)
    if [ -z "$reference" ] || [ -z "$reference_units" ]; then
        echo "profiles: no profile_values.exe and codepage_units.exe in $windows_dir" >&2
        status=1
        continue
    fi
    german_wine "$reference" "Z:$work/files/queries.txt" "${wine_files[@]}" | tr -d '\r' \
        >"$work/wine.txt"
    german_wine "$reference_units" | tr -d '\r' >"$work/wine-units.txt"
    lines=$(wc -l <"$work/wine.txt")
    echo "profiles ($windows_dir): ${#files[@]} files, $lines values"
    if [ "$lines" -eq 0 ] ||
        ! diff -u --label "Wine GetPrivateProfileStringA" --label "POSIX reader" \
            "$work/wine.txt" "$work/native.txt"; then
        echo "profiles: the POSIX reader differs from Wine's" >&2
        status=1
    fi
    if ! cmp -s "$work/wine-units.txt" "$work/native-units.txt"; then
        diff "$work/wine-units.txt" "$work/native-units.txt" | head -20
        echo "profiles: the conversion to code page 1252 differs from WideCharToMultiByte" >&2
        status=1
    fi
done
exit $status
