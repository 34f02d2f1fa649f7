#!/usr/bin/env bash
# Loads the Vasquill.dll of one Windows build (x86 or x64) in that build's host program under Wine,
# in a fresh Wine prefix and on a private virtual display (or the Wine session of the calling
# script), and reports the host's checks.
#
#   tests/vasquill/run-wine.sh <Windows build folder> [display number]
#
# The build folder is that of a Windows build (it holds vasquill/Vasquill.dll,
# tests/vasquill/vasquill_host.exe and tests/vasquill/TracingLibrary.dll). Exit code 0 when every
# check passed.
set -eu

build=${1:?usage: run-wine.sh <Windows build folder> [display number]}
QUARNEL_DISPLAY=${2:-${QUARNEL_DISPLAY:-}}
dll=$(cd "$build" && pwd)/vasquill/Vasquill.dll
host=$(cd "$build" && pwd)/tests/vasquill/vasquill_host.exe
tracing=$(cd "$build" && pwd)/tests/vasquill/TracingLibrary.dll
for file in "$dll" "$host" "$tracing"; do
    if [ ! -f "$file" ]; then
        echo "missing: $file" >&2
        exit 2
    fi
done

. "$(dirname "$0")/../../scripts/wine-session.sh"
# A message box shown while the library loads would block the host: the time limit catches it.
status=0
timeout 120 wine "$host" "$dll" "$tracing" || status=$?
wineserver -w || true
exit "$status"
