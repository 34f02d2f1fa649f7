#!/usr/bin/env bash
# Benchmarks: each prints what it measured and the ratio against its goal. Not a test: the
# numbers depend on the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" >/dev/null

for bench in build/native/tests/bench/bench_*; do
    echo "== ${bench##*/}"
    "$bench"
done

now() { date +%s.%N; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The POSIX setup copying a package against cp: one 1 GiB file, then 5,000 small files.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/windows" "$work/target"
printf '[GENERAL-Directories]\r\nDataDir=%s\r\n[Dirs]\r\nTarget=%s\r\n' "$work" "$work/target" >"$work/windows/TALMORIX.INI"

run_setup() { # package folder
    rm -rf "$work/target" && mkdir -p "$work/target"
    sync
    local start end
    start=$(now)
    printf 'i\n' | QUARNEL_WINDIR="$work/windows" "$1/setup" >/dev/null
    end=$(now)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}
run_cp() { # source, cp arguments...
    rm -rf "$work/target" && mkdir -p "$work/target"
    sync
    local start end
    start=$(now)
    cp "$@" "$work/target/"
    end=$(now)
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

big=$work/big
mkdir -p "$big"
cp build/native/setup/setup "$big/"
head -c $((1024 * 1024 * 1024)) /dev/urandom >"$big/payload.bin"
printf '[Installation]\r\nBezeichnung=Benchmark\r\n[Block1]\r\nSection=Dirs\r\nPfad=Target\r\nFile1=payload.bin\r\n' >"$big/SETUP.INF"
run_cp "$big/payload.bin" >/dev/null # warm the page cache for both
t_cp=$(run_cp "$big/payload.bin")
t_setup=$(run_setup "$big")
cmp -s "$big/payload.bin" "$work/target/payload.bin" || { echo "the setup did not copy the payload" >&2; exit 1; }
echo "== copying 1 GiB: setup ${t_setup}s, cp ${t_cp}s"
echo "speed ratio setup/cp $(ratio "$t_cp" "$t_setup") (goal: at least 0.95)"
rm -rf "$big"

small=$work/small
mkdir -p "$small/files"
cp build/native/setup/setup "$small/"
{
    printf '[Installation]\r\nBezeichnung=Benchmark\r\n[Block1]\r\nSection=Dirs\r\nPfad=Target\r\n'
    for i in $(seq 1 5000); do printf 'File%d=files\\f%d.dat\r\n' "$i" "$i"; done
} >"$small/SETUP.INF"
for i in $(seq 1 5000); do head -c 4096 /dev/urandom >"$small/files/f$i.dat"; done
mkdir -p "$work/target/files"
t_cp=$(run_cp -r "$small/files")
t_setup=$( (rm -rf "$work/target" && mkdir -p "$work/target/files" && sync
            start=$(now); printf 'i\n' | QUARNEL_WINDIR="$work/windows" "$small/setup" >/dev/null
            end=$(now); awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'))
[ "$(find "$work/target/files" -type f | wc -l)" -eq 5000 ] || { echo "the setup did not copy the files" >&2; exit 1; }
echo "== copying 5,000 files of 4 KiB: setup ${t_setup}s, cp -r ${t_cp}s"
echo "speed ratio setup/cp $(ratio "$t_cp" "$t_setup") (goal: at least 0.85)"
