#!/usr/bin/env bash
# CPU time and peak memory of veltrum-claims on crafted texts of 1, 4 and 16 MB,
# to see that each grows linearly with its input. The texts are written to a
# scratch folder and removed afterwards.
#   bench/pathological_scaling.sh [BUILD_DIR] [MB...]     (defaults: build, 1 4 16)
set -euo pipefail
build="${1:-build}"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1 4 16)
claims="$build/cli/veltrum-claims"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# write KIND BYTES: a crafted claim text of about BYTES bytes on standard output.
write() {
    awk -v kind="$1" -v bytes="$2" 'BEGIN {
        ORS = ""; eol = (kind == "lone-cr") ? "\r" : "\n"
        if (kind != "numbers") print "We claim:" eol
        if (kind == "long-claim") {
            print "1. A pump"
            for (size = 0; size < bytes; size += 41) print " wherein the valve is held in the housing"
            print ".\n"; exit
        }
        if (kind == "repeated-one") {
            print "1. A pump.\n2. The pump of claims 1"
            for (size = 0; size < bytes; size += 3) print ", 1"
            print ".\n"; exit
        }
        if (kind == "past-table") { for (n = 1; n <= 1024; n++) print " " n ". A pump.\n"; first = 1025 }
        else { print " 1. A pump." (kind == "inline" ? "" : eol); first = 2 }
        size = 0
        for (n = first; size < bytes; n++) {
            if (kind == "numbers") line = n ".\n"
            else if (kind == "inline") line = " " n ". The pump of claim " (n - 1) "."
            else if (kind == "any-one-before") line = " " n ". The pump of any one of claims 1 to " (n - 1) ".\n"
            else if (kind == "past-table") line = " " n ". The pump of any one of claims 1024 to " (n - 1) ".\n"
            else if (kind == "huge-ranges") line = " " n ". The pump of any of claims 1 to 100000.\n"
            else line = " " n ". The pump of claim " (n - 1) ", wherein the valve is held in the housing." eol
            print line; size += length(line)
        }
        print "\n"
    }'
}

printf '%-15s %-18s' kind mode
for mb in "${sizes[@]}"; do printf ' %16s' "$mb MB"; done
printf '\n'
for kind in lf lone-cr inline any-one-before past-table huge-ranges numbers long-claim repeated-one; do
    for mb in "${sizes[@]}"; do write "$kind" $((mb << 20)) >"$scratch/$kind-$mb.txt"; done
    for mode in --summary "--summary --lenient" --check "--check --lenient" "--json --lenient"; do
        printf '%-15s %-18s' "$kind" "$mode"
        for mb in "${sizes[@]}"; do
            # shellcheck disable=SC2086
            read -r u s kb <<<"$(/usr/bin/time -f '%U %S %M' "$claims" $mode "$scratch/$kind-$mb.txt" 2>&1 >/dev/null | tail -1)"
            printf ' %7.2f s %5d MB' "$(echo "$u + $s" | bc)" $((kb >> 10))
        done
        printf '\n'
    done
done
