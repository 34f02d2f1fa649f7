#!/usr/bin/env bash
# The main job: builds everything, lays out the example hotfix package, and runs the POSIX setup
# in this terminal against a fresh copy of the example host installation.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
scripts/build.sh

# The shipping package: the x86 setup.exe beside its SETUP.INF and payload.
rm -rf out/package
mkdir -p out
cp -r build/windows-x86/example/package out/package
echo
echo "setup.exe (x86, the shipping build): $root/build/windows-x86/setup/setup.exe"
echo "setup.exe (x64):                     $root/build/windows-x64/setup/setup.exe"
echo "Example package (x86):               $root/out/package"
echo

# A fresh host installation for the POSIX setup: its own Windows directory holds TALMORIX.INI.
work=$(mktemp -d)
cp -r build/windows-x86/example/host "$work/host"
sed -e "s|@DATADIR@|$work/host/Daten|" -e "s|@PROGDIR@|$work/host/Programme/Host|" \
    examples/host/windows/TALMORIX.INI.in >"$work/host/windows/TALMORIX.INI"
rm -f "$work/host/windows/TALMORIX.INI.in"
cp -r out/package "$work/package"
cp build/native/setup/setup "$work/package/setup"
# The follow-up program, as a POSIX program of the same name.
cp examples/package/Nachlauf.exe.sh "$work/package/Nachlauf.exe"

echo "Host installation: $work/host (Windows directory $work/host/windows)"
echo "Package:           $work/package"
echo
QUARNEL_WINDIR="$work/host/windows" "$work/package/setup" || true

echo
echo "Host installation after the run:"
(cd "$work/host" && find . -type f ! -name '*.keep' | sort)
