#!/bin/sh
# Times vantrel-cli prepare on the synthetic town's raw streets of about 100,000 and 1,000,000
# straight pieces (or the sizes given), read from an OpenStreetMap XML file (projected from
# degrees) and from a CSV file of WKT line strings (a GIS layer in metres), each written to a
# GeoPackage: every stage's wall time, its processor time and the peak memory of the process.
# Usage, from anywhere, after building vantrel-cli and vantrel_raw_streets:
#   bench/run_prepare_bench.sh [BUILD_FOLDER] [PIECES...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
[ $# -gt 0 ] && shift
sizes=${*:-"100000 1000000"}
cli="$build/vantrel-cli"
generator="$build/bench/vantrel_raw_streets"
for program in "$cli" "$generator"; do
    [ -x "$program" ] || { echo "no $program: build it first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "vantrel-cli prepare on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for pieces in $sizes; do
    for format in osm csv; do
        input="$work/town_$pieces.$format"
        "$generator" "$pieces" "$input"
        "$cli" prepare "$input" --out "$work/prepared.gpkg" --timings 2>"$work/log"
        echo
        echo "$pieces pieces from .$format ($(du -h "$input" | cut -f1)):"
        grep -E "^(read|prepared) " "$work/log" | sed 's/^/  /'
        sed -n 's/^timing: \(.*\): \(.*\) s, cpu \(.*\) s, peak memory \(.*\) MB$/\1|\2|\3|\4/p' \
            "$work/log" |
            awk -F'|' '{ printf "  %-18s %9.3f s wall %9.3f s cpu %8.1f MB peak\n", $1, $2, $3, $4 }'
        rm -f "$input" "$work/prepared.gpkg"
    done
done
