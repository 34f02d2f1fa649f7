#!/usr/bin/env bash
# Prints the sizes of the shipped binaries against their goals (x86: setup.exe at most 128 KiB,
# Vasquill.dll at most 64 KiB).
set -euo pipefail
cd "$(dirname "$0")/.."
report() {
    local file=$1 goal_kib=$2
    if [ -f "$file" ]; then
        local size
        size=$(stat -c %s "$file")
        printf '%-40s %8d bytes (%d KiB; goal %d KiB: %s)\n' "$file" "$size" $(((size + 1023) / 1024)) \
            "$goal_kib" "$([ "$size" -le $((goal_kib * 1024)) ] && echo met || echo missed)"
    else
        printf '%-40s missing\n' "$file"
    fi
}
echo "Size report"
report build/windows-x86/setup/setup.exe 128
report build/windows-x86/vasquill/Vasquill.dll 64
report build/windows-x64/setup/setup.exe 128
report build/windows-x64/vasquill/Vasquill.dll 64
