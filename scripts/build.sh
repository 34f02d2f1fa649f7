#!/usr/bin/env bash
# Builds every preset: native (POSIX setup, tests), windows-x86 (the shipping build) and
# windows-x64 (the build the tests run under Wine). The build's output goes to
# build/<preset>.log and is shown only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
mkdir -p build
for preset in native windows-x86 windows-x64; do
    echo "== build $preset"
    log=build/$preset.log
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "$jobs"; } >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "build of $preset failed (whole output in $log)" >&2
        exit 1
    fi
    grep -E 'warning:' "$log" | sort -u | head -n 20 || true
done
