#!/bin/sh
# Runs vantrel-cli on a street map of 2,000 lines, both analyses, radii 3 and n, with choice, on 1,
# 2 and 3 threads, and compares every file written byte for byte with the files kept in the
# folder (their SHA-256 sums, and compressed copies of the smaller ones to show where they differ).
# Usage: same_results.sh VANTREL_CLI RESULTS_FOLDER
set -u
cli=$1
kept=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

xz -dc "$kept/street_2000.csv.xz" >"$work/street_2000.csv" || fail "cannot unpack the map"
for threads in 1 2 3; do
    out="$work/out_$threads"
    "$cli" analyse "$work/street_2000.csv" --out "$out" --analysis both --radius 3,n --choice \
        --threads "$threads" --quiet 2>"$work/err" || fail "$threads threads: $(cat "$work/err")"
    [ "$(ls "$out" | wc -l)" -eq "$(wc -l <"$kept/SHA256SUMS")" ] ||
        fail "$threads threads wrote $(ls "$out" | tr '\n' ' ')"
    if ! (cd "$out" && sha256sum --quiet -c "$kept/SHA256SUMS" >"$work/sums" 2>&1); then
        for copy in "$kept"/*.xz; do
            name=$(basename "$copy" .xz)
            [ -f "$out/$name" ] || continue
            xz -dc "$copy" | cmp - "$out/$name" >&2
        done
        fail "$threads threads: $(cat "$work/sums")"
    fi
done
