#!/usr/bin/env bash
# Runs the end-to-end scenarios, the unattended ones, then the hostile ones, against setup.exe of one Windows build (x86 or x64) under Wine, in
# a fresh prefix and on a virtual display (or the Wine session of the calling script).
# Usage: run-wine.sh <Windows build folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-wine.sh <Windows build folder>}" && pwd)

. "$here/../../scripts/wine-session.sh"
status=0
python3 "$here/run_wine.py" "$build" || status=1
# Quiet and passive runs with no input, read through e2e_exitcode.exe.
python3 "$here/unattended.py" wine "$build" || status=1
# The hostile cases: links, FIFOs, second names, a lying version block and a watcher, made on the
# Linux side of the prefix.
python3 "$here/hostile_wine.py" "$build" || status=1
exit $status
