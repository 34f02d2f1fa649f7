#!/bin/sh
# Takes a screenshot of each of the support tool's dialogs as the x64 Vasquill.dll gives them,
# under Wine on a private virtual display, for a person to look at.
#
#   tests/vasquill/show-dialogs.sh <x64 build folder> <output folder> [display number]
#
# Writes dialog-<number>.png for 101, 106, 107, 108, 139 and 143. The dialogs are shown inside
# Wine's own desktop window so that pop-up dialogs get their frame and caption.
set -eu

build=${1:?usage: show-dialogs.sh <x64 build folder> <output folder> [display number]}
out=${2:?usage: show-dialogs.sh <x64 build folder> <output folder> [display number]}
QUARNEL_DISPLAY=${3:-}
dll=$(cd "$build" && pwd)/vasquill/Vasquill.dll
host=$(cd "$build" && pwd)/tests/vasquill/vasquill_host.exe
mkdir -p "$out"

. "$(dirname "$0")/../../scripts/wine-session.sh"
for id in 101 106 107 108 139 143; do
    wine explorer /desktop=dialogs,1024x768 "$host" "$dll" --show "$id" >/dev/null 2>&1 &
    wine_pid=$!
    sleep 6
    import -window root "$out/dialog-$id.png"
    wineserver -k >/dev/null 2>&1 || true
    wait "$wine_pid" || true
done
echo "screenshots in $out"
