#!/usr/bin/env bash
# Benchmarks: each prints what it measured and the ratio against its goal. Not a test: the
# numbers depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" >/dev/null

for bench in build/native/tests/bench/bench_* build/native/check/bench_setupcheck; do
    echo "== ${bench##*/}"
    "$bench"
done

now() { date +%s.%N; }

# Runs `$@` after a fresh, empty target folder and prints the seconds it took.
timed() {
    rm -rf "$work/target" && mkdir -p "$work/target/files"
    sync
    local start end
    start=$(now)
    "$@" >/dev/null
    end=$(now)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

# compare NAME GOAL RUNS CHECK SETUP_COMMAND... -- OTHER_COMMAND...
# Times both commands RUNS times, alternating which goes first so that neither always meets a
# warm or a cold cache, and prints the median speed ratio (other's time / setup's time) with its
# minimum and maximum and the goal beside it. CHECK is run after the setup to see it really copied.
compare() {
    local name=$1 goal=$2 runs=$3 check=$4
    shift 4
    local setup=() other=()
    while [ "$1" != "--" ]; do setup+=("$1"); shift; done
    shift
    other=("$@")
    local ratios=() i t_setup t_other
    for i in $(seq 1 "$runs"); do
        if [ $((i % 2)) -eq 1 ]; then
            t_setup=$(timed "${setup[@]}")
            $check || { echo "the setup did not copy ($name)" >&2; exit 1; }
            t_other=$(timed "${other[@]}")
        else
            t_other=$(timed "${other[@]}")
            t_setup=$(timed "${setup[@]}")
            $check || { echo "the setup did not copy ($name)" >&2; exit 1; }
        fi
        ratios+=("$(awk -v a="$t_other" -v b="$t_setup" 'BEGIN { printf "%.3f", a / b }')")
        echo "   run $i: setup ${t_setup}s, the other ${t_other}s"
    done
    printf '%s\n' "${ratios[@]}" | sort -n | awk -v name="$name" -v goal="$goal" '
        { r[NR] = $1 }
        END {
            median = NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2
            printf "%s: speed ratio median %.2f (min %.2f, max %.2f), goal at least %s: %s\n",
                   name, median, r[1], r[NR], goal, (median >= goal ? "met" : "NOT met")
        }'
}

# The setup keeps its pass record in a state folder of the benchmark's own.
run_setup() { # package folder
    printf 'i\n' | QUARNEL_WINDIR="$work/windows" QUARNEL_STATEDIR="$work/state" "$1/setup"
}

# The POSIX setup copying a package against cp (and rsync, which also writes a temporary and
# renames it): one 1 GiB file, then 5,000 files of 4 KiB.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/windows" "$work/target"
printf '[GENERAL-Directories]\r\nDataDir=%s\r\n[Dirs]\r\nTarget=%s\r\n' "$work" "$work/target" >"$work/windows/TALMORIX.INI"

big=$work/big
mkdir -p "$big"
cp build/native/setup/setup "$big/"
head -c $((1024 * 1024 * 1024)) /dev/urandom >"$big/payload.bin"
printf '[Installation]\r\nBezeichnung=Benchmark\r\n[Block1]\r\nSection=Dirs\r\nPfad=Target\r\nFile1=payload.bin\r\n' >"$big/SETUP.INF"
big_copied() { cmp -s "$big/payload.bin" "$work/target/payload.bin"; }
echo "== copying 1 GiB"
compare "1 GiB, setup against cp" 0.95 "${QUARNEL_BENCH_BIG_RUNS:-7}" big_copied \
    run_setup "$big" -- cp "$big/payload.bin" "$work/target/"
rm -rf "$big"

small=$work/small
mkdir -p "$small/files"
cp build/native/setup/setup "$small/"
{
    printf '[Installation]\r\nBezeichnung=Benchmark\r\n[Block1]\r\nSection=Dirs\r\nPfad=Target\r\n'
    for i in $(seq 1 5000); do printf 'File%d=files\\f%d.dat\r\n' "$i" "$i"; done
} >"$small/SETUP.INF"
for i in $(seq 1 5000); do head -c 4096 /dev/urandom >"$small/files/f$i.dat"; done
small_copied() { [ "$(find "$work/target/files" -type f | wc -l)" -eq 5000 ]; }
# cp and rsync create the folder themselves; the setup copies into an existing one.
copy_tree() { rmdir "$work/target/files" && "$@" "$small/files" "$work/target/"; }
echo "== copying 5,000 files of 4 KiB"
runs=${QUARNEL_BENCH_SMALL_RUNS:-7}
compare "5,000 files, setup against cp -r" 0.85 "$runs" small_copied \
    run_setup "$small" -- copy_tree cp -r
if command -v rsync >/dev/null; then
    compare "5,000 files, setup against rsync -rt" 1.0 "$runs" small_copied \
        run_setup "$small" -- copy_tree rsync -rt
else
    echo "5,000 files, setup against rsync -rt: skipped, rsync is not installed"
fi
