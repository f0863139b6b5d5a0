#!/usr/bin/env bash
# How often the claim categories are right: the independent claims listed in
# bench/category-truth.tsv, read with veltrum-claims --lenient --json, against
# the category checked by hand. Prints each miss and the share right.
# usage: bench/category_accuracy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
cli="${1:-build}/cli/veltrum-claims"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The bench's own wordings, one claim set each.
printf 'What is claimed is:\n1. A pump comprising a housing, an impeller in the housing, and a seal between the impeller and the housing.\n2. The pump as recited in claim 1, wherein the impeller has six blades.\n' >"$work/ordinary"
printf 'Claims\n1. A delivery system for the skin comprising a carrier.\n2. A delivery system according to any one of the preceding Claims, wherein the carrier is a gel.\n' >"$work/all-preceding"
printf 'We claim:\n1. A pump.\n2. The pump of claim 1.\n' >"$work/nested"

# "NUMBER CATEGORY" for the first claim of each number.
categories() {
  "$cli" --lenient --json "$1" 2>/dev/null | awk '
    /^    \{ "number": / { n = $3; sub(/,$/, "", n) }
    /"category": "/ { c = $0; sub(/.*"category": "/, "", c); sub(/".*/, "", c)
                      if (!(n in seen)) { seen[n] = 1; print n, c } }'
}

total=0
right=0
last=""
while IFS=$'\t' read -r file claim expected; do
  [[ -z "$file" || "$file" == \#* ]] && continue
  path="$file"
  [[ "$file" == bench:* ]] && path="$work/${file#bench:}"
  if [[ "$path" != "$last" ]]; then
    categories "$path" >"$work/found"
    last="$path"
  fi
  got=$(awk -v n="$claim" '$1 == n { print $2; exit }' "$work/found")
  total=$((total + 1))
  if [[ "$got" == "$expected" ]]; then
    right=$((right + 1))
  else
    echo "miss: $file claim $claim: $got, by hand $expected"
  fi
done <bench/category-truth.tsv
awk -v r="$right" -v t="$total" 'BEGIN { printf "categories right: %d of %d independent claims (%.1f %%)\n", r, t, 100 * r / t }'
