#!/usr/bin/env bash
# Runs the end-to-end scenarios, the unattended ones, then the hostile ones and the failing copy
# passes, against setup.exe of one Windows build (x86 or x64) under Wine, and the package check's
# table with its setupcheck.exe, in a fresh prefix and on a virtual display (or the Wine session of
# the calling script).
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
# The package check's table of broken packages, with this build's setupcheck.exe.
python3 "$here/../check/run_check.py" --wine "$build" || status=1
# A copy pass that cannot finish (a missing payload, a file held open, kills, a second setup): the
# old installation comes back.
python3 "$here/rollback_wine.py" "$build" || status=1
exit $status
