#!/bin/sh
# Times vantrel-cli segment on generated street-like road-centre-line maps (bench/gen_rcl_map.py)
# of 100,000 and 1,000,000 segments, at radius 800 m with choice, on every core: each stage's
# wall time, its processor time and the peak memory of the process, from reading the file to the
# last output written.
# Usage, from anywhere, after building: bench/run_segment_bench.sh [BUILD_FOLDER] [SEGMENTS...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
[ $# -gt 0 ] && shift
sizes=${*:-"100000 1000000"}
cli="$build/vantrel-cli"
[ -x "$cli" ] || { echo "no $cli: build the vantrel-cli target first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "vantrel-cli segment on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for segments in $sizes; do
    map="$work/rcl_$segments.csv"
    python3 "$root/bench/gen_rcl_map.py" --segments "$segments" --out "$map"
    "$cli" segment "$map" --rcl --radius 800 --choice --out "$work/out_$segments" --quiet \
        --timings 2>"$work/timings"
    echo
    echo "about $segments segments, radius 800 with choice:"
    sed -n 's/^timing: \(.*\): \(.*\) s, cpu \(.*\) s, peak memory \(.*\) MB$/\1|\2|\3|\4/p' \
        "$work/timings" |
        awk -F'|' '{ printf "  %-18s %9.3f s wall %9.3f s cpu %8.1f MB peak\n", $1, $2, $3, $4 }'
    rm -rf "$work/out_$segments"
done
