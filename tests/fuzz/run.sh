#!/usr/bin/env bash
# Builds every tests/fuzz/fuzz_*.cpp with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for the given number of seconds.
#
#   tests/fuzz/run.sh <seconds-per-target>
#
# The readers under test (resources/, platform/ and its POSIX stand-ins) are compiled straight
# from the sources into one archive, so only what a target uses is linked into it. Seeds are the
# PE fixtures and compiled .res files of a native build when there is one (QUARNEL_BUILD_DIR,
# default build/native). Corpora and crash inputs go to QUARNEL_FUZZ_DIR (default: a temporary
# folder, kept only when something was found). Exits non-zero when any target crashes or leaks.
set -uo pipefail

seconds=${1:?usage: $0 <seconds-per-target>}
cd "$(dirname "$0")/../.."
build=${QUARNEL_BUILD_DIR:-build/native}
work=${QUARNEL_FUZZ_DIR:-$(mktemp -d)}
mkdir -p "$work/obj"

cxx=${CXX_FUZZ:-clang++}
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all"
cxxflags="-std=c++17 -g -O1 -I. $sanitize"

# The readers, compiled once for all targets. A source that does not compile is left out with a
# warning, so that only a target that needs it fails, when it is linked; under scripts/test.sh
# (QUARNEL_REQUIRE_INPUTS=1) it fails the run.
sources=(resources/*.cpp platform/*.cpp platform/posix/*.cpp)
objects=()
for src in "${sources[@]}"; do
    [ -f "$src" ] || continue
    obj="$work/obj/$(echo "$src" | tr / _).o"
    if $cxx $cxxflags -fsanitize=fuzzer-no-link -c "$src" -o "$obj"; then
        objects+=("$obj")
    elif [ "${QUARNEL_REQUIRE_INPUTS:-}" = 1 ]; then
        echo "fuzz: $src does not compile" >&2
        exit 1
    else
        echo "fuzz: warning: $src does not compile; left out" >&2
    fi
done
rm -f "$work/readers.a"
ar rcs "$work/readers.a" "${objects[@]}"

# Seeds shared by every target; each target's own folder tests/fuzz/seeds/<name>/ is added to it.
seeds="$work/seeds"
mkdir -p "$seeds"
if [ -d "$build" ]; then
    find "$build" -maxdepth 4 -type f \( -path '*/fixtures/pe/*' -o -name '*.res' \) \
        -print0 2>/dev/null | xargs -0 -r cp -t "$seeds/"
fi

status=0
for target in tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$target" .cpp)
    exe="$work/$name"
    echo "== $name"
    if ! $cxx $cxxflags -fsanitize=fuzzer "$target" "$work/readers.a" -o "$exe"; then
        echo "fuzz: cannot build $name" >&2
        status=1
        continue
    fi
    corpus="$work/corpus/$name"
    mkdir -p "$corpus" "$work/crashes/$name"
    extra=()
    [ -d "tests/fuzz/seeds/$name" ] && extra+=("tests/fuzz/seeds/$name")
    if ! "$exe" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/crashes/$name/" -rss_limit_mb=1024 -timeout=10 \
        "$corpus" "$seeds" "${extra[@]}" 2>"$work/$name.log"; then
        echo "fuzz: $name found a problem; input and log in $work/crashes/$name/ and $work/$name.log" >&2
        tail -40 "$work/$name.log" >&2
        status=1
    else
        grep -E "^stat::number_of_executed_units|^#[0-9]+ *DONE" "$work/$name.log" | tail -2
    fi
done

if [ $status -eq 0 ] && [ -z "${QUARNEL_FUZZ_DIR:-}" ]; then
    rm -rf "$work"
fi
exit $status
