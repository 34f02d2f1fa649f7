#!/usr/bin/env bash
# Installs what building, running and testing need, from Debian's packages, and skips what is
# already there. Needs root (or sudo) only when something is missing.
#
# 32-bit Wine (wine32 of the i386 architecture) runs the shipping x86 build: the architecture is
# added to dpkg only when it is not there yet, and the package lists are updated only when
# something is to be installed or the architecture was just added. The German locale lets Wine
# show the setup's message boxes as a German customer sees them ("Ja"/"Nein"); it is generated
# once.
set -euo pipefail

packages=(
    cmake make g++ python3 file rsync
    mingw-w64 wine wine64 wine32:i386 xvfb x11-utils imagemagick
    googletest clang libclang-rt-dev locales
)

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

architecture_added=false
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture (32-bit Wine)"
    "${as_root[@]}" dpkg --add-architecture i386
    architecture_added=true
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

generate_german_locale() {
    if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
        echo "Generating the locale de_DE.UTF-8"
        "${as_root[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
    fi
}

if [ ${#missing[@]} -eq 0 ] && [ "$architecture_added" = false ]; then
    generate_german_locale
    exit 0
fi

"${as_root[@]}" apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
generate_german_locale
