#!/bin/sh
# vantrel-cli as the processes of an MPI run: the files of `mpirun -np 3` are byte for byte those
# of one process (a street map of 2,000 lines, both analyses, radii 3 and n, with choice; and a
# segment analysis of a road-centre-line map); a bad
# lines file is reported once and ends every process; a process killed in the middle ends the
# run with a message and a failure, and leaves the output folder as it was.
# Usage: cluster.sh VANTREL_CLI RESULTS_FOLDER
set -u
cli=$1
kept=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Open MPI refuses root unless told; the test machines run the tests as root.
mpirun=mpirun
[ "$(id -u)" -eq 0 ] && mpirun="mpirun --allow-run-as-root"
mpirun="$mpirun --oversubscribe"
if ! command -v mpirun >/dev/null || ! $mpirun -np 2 true >"$work/start" 2>&1; then
    echo "SKIP: mpirun cannot start processes here: $(head -3 "$work/start" 2>/dev/null)"
    exit 0
fi

xz -dc "$kept/street_2000.csv.xz" >"$work/street_2000.csv" || fail "cannot unpack the map"

# The same files whatever the processes and threads.
for threads in 1 2; do
    out="$work/out_$threads"
    $mpirun -np 3 "$cli" analyse "$work/street_2000.csv" --out "$out" --analysis both \
        --radius 3,n --choice --threads "$threads" --timings 2>"$work/err" >/dev/null ||
        fail "3 processes x $threads threads: $(cat "$work/err")"
    (cd "$out" && sha256sum --quiet -c "$kept/SHA256SUMS") >"$work/sums" 2>&1 ||
        fail "3 processes x $threads threads differ from one process: $(cat "$work/sums")"
    [ "$(grep -c '^Axial depths\.\.\.' "$work/err")" -eq 1 ] ||
        fail "the stages are not told once: $(cat "$work/err")"
    grep -q '^timing: Junction choice: .*busiest process .* s, idlest .* s' "$work/err" ||
        fail "no timing of the busiest and idlest process: $(cat "$work/err")"
done

# The segment analysis too, on a road-centre-line map of about 2,000 segments.
python3 "$(dirname "$0")/../../bench/gen_rcl_map.py" --segments 2000 --out "$work/rcl.csv" ||
    fail "cannot make the road-centre-line map"
for processes in 1 3; do
    launcher=
    [ "$processes" -gt 1 ] && launcher="$mpirun -np $processes"
    $launcher "$cli" segment "$work/rcl.csv" --rcl --radius 800,n --choice --threads 2 --quiet \
        --out "$work/segments_$processes" 2>"$work/err" || fail "segment: $(cat "$work/err")"
done
cmp "$work/segments_1/segment_measures.csv" "$work/segments_3/segment_measures.csv" >&2 ||
    fail "segment measures of 3 processes differ from one process"

# A lines file that cannot be read: one message, every process ends with the same failure.
$mpirun -np 3 "$cli" analyse "$work/missing.csv" --out "$work/never" 2>"$work/err" >/dev/null
status=$?
[ "$status" -eq 1 ] || fail "a missing lines file ended with $status: $(cat "$work/err")"
[ "$(grep -c 'missing.csv' "$work/err")" -eq 1 ] ||
    fail "a missing lines file is not told once: $(cat "$work/err")"
[ ! -e "$work/never" ] || fail "a missing lines file left an output folder"

# A process killed in the middle: the run fails, rank 0 says so, the folder is as it was.
# Six copies of the map side by side, for a run long enough to be caught in the middle.
awk -F, 'NR == 1 { print; next }
    { lines[NR] = $0 }
    END { for (copy = 0; copy < 6; copy++) for (n = 2; n <= NR; n++) {
        split(lines[n], c, ","); shift = copy * 1000000
        print c[1] + shift "," c[2] "," c[3] + shift "," c[4] } }' \
    "$work/street_2000.csv" >"$work/large.csv"
mkdir "$work/kept_out"
echo "earlier results" >"$work/kept_out/axial_measures.csv"
$mpirun -np 3 "$cli" analyse "$work/large.csv" --out "$work/kept_out" --analysis both \
    --radius 3,n --choice --threads 1 >/dev/null 2>"$work/err" &
runner=$!
# Rank 1 is killed once the searches have begun.
rank1=
for _ in $(seq 1 200); do
    if grep -q 'depths\.\.\.' "$work/err"; then
        for pid in $(pgrep -P "$runner"); do
            tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx OMPI_COMM_WORLD_RANK=1 &&
                rank1=$pid
        done
        [ -n "$rank1" ] && break
    fi
    sleep 0.05
done
[ -n "$rank1" ] || fail "rank 1 of the run was not found: $(cat "$work/err")"
kill -KILL "$rank1"
wait "$runner"
status=$?
[ "$status" -ne 0 ] || fail "a killed process left the run successful"
# Open MPI may stop relaying rank 0's output once it tears the job down, so its own report of
# the killed process stands in for rank 0's line when that was lost on the way.
grep -q 'vantrel-cli: the run was stopped before it finished' "$work/err" ||
    grep -q 'process rank 1 .* exited on signal 9' "$work/err" ||
    fail "no message from rank 0 or mpirun on a killed process: $(cat "$work/err")"
[ "$(ls -A "$work/kept_out")" = axial_measures.csv ] &&
    [ "$(cat "$work/kept_out/axial_measures.csv")" = "earlier results" ] ||
    fail "a killed run changed the output folder: $(ls -A "$work/kept_out")"
[ "$(ls -A "$work" | grep -c kept_out)" -eq 1 ] ||
    fail "a killed run left files beside the output folder: $(ls -A "$work")"
exit 0
