#!/usr/bin/env bash
# Prints the sizes of the binaries, the shipping x86 ones against their goals (setup.exe at most
# 128 KiB, Vasquill.dll at most 64 KiB).
set -euo pipefail
cd "$(dirname "$0")/.."
report() { # file [goal in KiB]
    local file=$1 goal_kib=${2:-}
    if [ -f "$file" ]; then
        local size
        size=$(stat -c %s "$file")
        printf '%-40s %8d bytes (%d KiB' "$file" "$size" $(((size + 1023) / 1024))
        if [ -n "$goal_kib" ]; then
            printf '; goal %d KiB: %s' "$goal_kib" \
                "$([ "$size" -le $((goal_kib * 1024)) ] && echo met || echo missed)"
        fi
        printf ')\n'
    else
        printf '%-40s missing\n' "$file"
    fi
}
echo "Size report"
report build/windows-x86/setup/setup.exe 128
report build/windows-x86/vasquill/Vasquill.dll 64
report build/windows-x64/setup/setup.exe
report build/windows-x64/vasquill/Vasquill.dll
