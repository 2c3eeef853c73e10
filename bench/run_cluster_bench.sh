#!/bin/sh
# Times vantrel-cli analyse (both analyses, radii 3 and n) on a generated street map as one process
# with 1 and 2 threads and as 2 MPI processes of 1 thread each, REPEATS times each: the whole run's
# wall time, the processor time of the busiest process, and for MPI the wall time spent handing
# out units and combining sums. Extra words are passed to every run (e.g. --choice).
# Usage, after building: bench/run_cluster_bench.sh [BUILD_FOLDER] [LINES] [REPEATS] [OPTIONS...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
lines=${2:-50000}
repeats=${3:-2}
[ $# -gt 3 ] && shift 3 || set --
cli="$build/vantrel-cli"
# The shared tools sit beside the main checkout, two levels up from a worktree.
generator="$root/../shared/tools/gen_axial_map.py"
[ -f "$generator" ] || generator="$root/../../shared/tools/gen_axial_map.py"
[ -x "$cli" ] || { echo "no $cli: build the vantrel-cli target first" >&2; exit 1; }
mpirun=mpirun
[ "$(id -u)" -eq 0 ] && mpirun="mpirun --allow-run-as-root"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$generator" --n "$lines" --out "$work/map.csv"

echo "$lines lines, both analyses, radii 3 and n $*, on $(nproc) cores"
echo "run | wall s | cpu s (busiest process) | hand-out and sums s | load average before"
for repeat in $(seq 1 "$repeats"); do
    for run in 1x1 1x2 2x1; do
        processes=${run%x*}
        threads=${run#*x}
        load=$(cut -d' ' -f1 /proc/loadavg)
        launcher=
        [ "$processes" -gt 1 ] && launcher="$mpirun -np $processes"
        rm -rf "$work/out"
        $launcher "$cli" analyse "$work/map.csv" --out "$work/out" --analysis both --radius 3,n \
            --threads "$threads" --quiet --timings "$@" 2>"$work/timings"
        sed -n 's/^timing: whole run: \([0-9.]*\) s, cpu \([0-9.]*\) s\(.*\)$/\1 \2 \3/p' \
            "$work/timings" | while read -r wall cpu rest; do
            busiest=$(echo "$rest" | sed -n 's/.*busiest process \([0-9.]*\) s.*/\1/p')
            sharing=$(echo "$rest" | sed -n 's/.*combining sums at most \([0-9.]*\) s cpu.*/\1/p')
            echo "$run | $wall | ${busiest:-$cpu} | ${sharing:--} | $load"
        done
    done
done
