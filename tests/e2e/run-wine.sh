#!/usr/bin/env bash
# Runs the end-to-end scenarios against setup.exe under Wine, in a fresh prefix and on a virtual
# display. Usage: run-wine.sh <windows-x64 build folder>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run-wine.sh <windows-x64 build folder>}" && pwd)

. "$here/../../scripts/wine-session.sh"
python3 "$here/run_wine.py" "$build"
