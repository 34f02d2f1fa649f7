#!/usr/bin/env bash
# Runs the end-to-end scenarios against setup.exe of one Windows build (x86 or x64) under Wine, in
# a fresh prefix and on a virtual display (or the Wine session of the calling script).
# Usage: run-wine.sh <Windows build folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-wine.sh <Windows build folder>}" && pwd)

. "$here/../../scripts/wine-session.sh"
python3 "$here/run_wine.py" "$build"
