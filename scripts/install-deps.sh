#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages, and skips what is
# already there. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
    cmake make g++ python3 file
    mingw-w64 wine wine64 xvfb x11-utils imagemagick
    googletest clang libclang-rt-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
