#!/usr/bin/env bash
# Runs every test tier: unit tests (native, and the Win32 build under Wine), conformance of the
# built Windows binaries, end-to-end runs of the setup (POSIX and under Wine + Xvfb), the Vasquill
# library under Wine, the version readers against Wine's own, a short fuzzing run, and the size
# report. Every Windows tier runs for the x86 and the x64 build. Ends with a line
# "tiers: N passed, N failed, N skipped".
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1
# A test whose fixture, library, display or tool is missing fails here instead of skipping.
export QUARNEL_REQUIRE_INPUTS=1
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

# The Windows tiers share one Wine session: a fresh prefix and a virtual display, made once (a
# prefix takes half a minute to make) and removed when the script ends.
. scripts/wine-session.sh

# The x86 programs need a kernel that runs 32-bit programs; without one, their tiers are reported
# as skipped, not as passed.
windows_builds=(build/windows-x64)
skipped=()
if wine_session_runs_32bit; then
    windows_builds=(build/windows-x86 build/windows-x64)
else
    skipped+=("every x86 tier under Wine: this kernel runs no 32-bit programs (ia32 emulation is off)")
fi
arch_of() { echo "${1##*windows-}"; }

wine_ctest() {
    ctest --test-dir "$1" --output-on-failure
}

tier "unit and conformance tests (native)" ctest --test-dir build/native --output-on-failure
for build in "${windows_builds[@]}"; do
    tier "unit tests (Win32 backend under Wine, $(arch_of "$build"))" wine_ctest "$build"
done
tier "setup end to end (POSIX)" python3 tests/e2e/run_posix.py build/native build/windows-x86
for build in "${windows_builds[@]}"; do
    tier "setup end to end (Wine, $(arch_of "$build"))" tests/e2e/run-wine.sh "$build"
done
for build in "${windows_builds[@]}"; do
    tier "Vasquill under Wine ($(arch_of "$build"))" tests/vasquill/run-wine.sh "$build"
done
tier "version readers against Wine's version.dll" tests/differential/run.sh build/native \
    "${windows_builds[@]}"
tier "profile reader against Wine's GetPrivateProfileStringA" tests/differential/run-profiles.sh \
    build/native "${windows_builds[@]}"
tier "fuzzing (short)" tests/fuzz/run.sh "${QUARNEL_FUZZ_SECONDS:-10}"

# Sizes against their goals: reported, met or missed, never a failure.
echo
scripts/size-report.sh || true

echo
for name in "${failures[@]}"; do
    echo "failed: $name"
done
for name in "${skipped[@]}"; do
    echo "skipped: $name"
done
echo "tiers: $passed passed, $failed failed, ${#skipped[@]} skipped"
[ "$failed" -eq 0 ]
