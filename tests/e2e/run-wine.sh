#!/usr/bin/env bash
# Runs the end-to-end scenarios against setup.exe under Wine, in a fresh prefix and on a virtual
# display. Usage: run-wine.sh <windows-x64 build folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-wine.sh <windows-x64 build folder>}" && pwd)

display=:$((90 + RANDOM % 100))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((90 + RANDOM % 100)); done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display WINEPREFIX WINEDEBUG=-all
WINEPREFIX=$(mktemp -d)
cleanup() {
    wineserver -k >/dev/null 2>&1
    kill "$xvfb" 2>/dev/null
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
wine wineboot -i >/dev/null 2>&1
wineserver -w
python3 "$here/run_wine.py" "$build"
