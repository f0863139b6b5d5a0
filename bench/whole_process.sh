#!/usr/bin/env bash
# CPU time and peak memory of the whole veltrum-claims process on long
# documents (description, then twenty claims), next to `wc -w` on the same
# file in the same run. The documents are written to a scratch folder and
# removed afterwards.
#   bench/whole_process.sh [BUILD_DIR] [MB...]      (defaults: build, 50 500)
set -euo pipefail
build="${1:-build}"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 500)
claims="$build/cli/veltrum-claims"
writer="$build/bench/write_claim_text"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

cpu() { # prints user+system seconds and peak kB of the command
    /usr/bin/time -f "%U %S %M" "$@" 2>&1 >/dev/null | tail -1
}

for mb in "${sizes[@]}"; do
    file="$scratch/document-$mb.txt"
    "$writer" document "$mb" >"$file"
    bytes=$(stat -c %s "$file")
    cat "$file" >/dev/null # into the page cache for every run alike
    read -r wu ws _ <<<"$(cpu wc -w "$file")"
    wc_s=$(echo "$wu + $ws" | bc)
    for reading in "" --lenient; do
        read -r u s kb <<<"$(cpu "$claims" $reading "$file")"
        t=$(echo "$u + $s" | bc)
        printf '%4s MB %-10s %6.2f s  %6d kB  wc -w %6.2f s  ratio %.2f  memory %.2f x file\n' \
            "$mb" "${reading:-standard}" "$t" "$kb" "$wc_s" "$(echo "$t / $wc_s" | bc -l)" \
            "$(echo "$kb * 1024 / $bytes" | bc -l)"
    done
done
