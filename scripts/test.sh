#!/usr/bin/env bash
# Runs every test tier: unit tests (native, and the Win32 build under Wine), conformance of the
# built Windows binaries, end-to-end runs of the setup (POSIX and under Wine + Xvfb), the Vasquill
# library under Wine, the version readers against Wine's own, a short fuzzing run, and the size
# report. Ends with a line "tiers: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1
build_start=$SECONDS
scripts/build.sh || exit 1
echo "(build: $((SECONDS - build_start)) s)"

passed=0
failed=0
failures=()
tier() {
    local name=$1
    shift
    echo
    echo "== $name"
    local start=$SECONDS
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failures+=("$name")
    fi
    echo "($name: $((SECONDS - start)) s)"
}

# One fresh Wine prefix for the tiers that run Windows programs without a window.
wine_ctest() {
    local prefix status
    prefix=$(mktemp -d)
    WINEPREFIX=$prefix WINEDEBUG=-all wine wineboot -i >/dev/null 2>&1
    WINEPREFIX=$prefix WINEDEBUG=-all ctest --test-dir build/windows-x64 --output-on-failure
    status=$?
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    rm -rf "$prefix"
    return $status
}

tier "unit and conformance tests (native)" ctest --test-dir build/native --output-on-failure
tier "unit tests (Win32 backend under Wine)" wine_ctest
tier "setup end to end (POSIX)" python3 tests/e2e/run_posix.py build/native build/windows-x86
tier "setup end to end (Wine)" tests/e2e/run-wine.sh build/windows-x64
tier "Vasquill under Wine" tests/vasquill/run-wine.sh build/windows-x64
tier "version readers against Wine" tests/differential/run.sh build/native build/windows-x64
tier "fuzzing (short)" tests/fuzz/run.sh "${QUARNEL_FUZZ_SECONDS:-10}"

echo
scripts/size-report.sh || true

echo
for name in "${failures[@]}"; do
    echo "failed: $name"
done
echo "tiers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
