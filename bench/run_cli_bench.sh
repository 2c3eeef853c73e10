#!/bin/sh
# Times vantrel-cli on generated street maps of 2,000, 10,000 and 50,000 lines: each stage's wall
# time, its processor time and the peak memory of the process, for a primal run (radii 3 and n),
# a dual run and a run of both analyses, each without and with --choice, each from reading the
# file to the last output written; then a run of both analyses written to a GeoPackage, and a
# primal run that reads that GeoPackage's lines back, for the GIS reading and writing stages.
# Usage, from anywhere, after building: bench/run_cli_bench.sh [BUILD_FOLDER] [SIZES...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
[ $# -gt 0 ] && shift
sizes=${*:-"2000 10000 50000"}
cli="$build/vantrel-cli"
generator="$root/../shared/tools/gen_axial_map.py"
[ -x "$cli" ] || { echo "no $cli: build the vantrel-cli target first" >&2; exit 1; }
[ -f "$generator" ] || { echo "no map generator at $generator" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "vantrel-cli on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for lines in $sizes; do
    map="$work/map_$lines.csv"
    # The generator's default street map of this size, the same on every machine.
    python3 "$generator" --n "$lines" --out "$map"
    for run in primal dual both primal+choice dual+choice both+choice gpkg-out gpkg-in; do
        analysis=${run%+choice}
        choice=
        [ "$analysis" != "$run" ] && choice=--choice
        input=$map
        output="$work/out_${lines}_$run"
        case $run in
        gpkg-out) analysis=both output="$work/map_$lines.gpkg" ;;
        gpkg-in) analysis=primal input="$work/map_$lines.gpkg" ;;
        esac
        "$cli" analyse "$input" --out "$output" --radius 3,n --analysis "$analysis" \
            $choice --quiet --timings 2>"$work/timings"
        echo
        echo "$lines lines, $run:"
        sed -n 's/^timing: \(.*\): \(.*\) s, cpu \(.*\) s, peak memory \(.*\) MB$/\1|\2|\3|\4/p' \
            "$work/timings" |
            awk -F'|' '{ printf "  %-18s %9.3f s wall %9.3f s cpu %8.1f MB peak\n", $1, $2, $3, $4 }'
        rm -rf "$work/out_${lines}_$run"
    done
done
