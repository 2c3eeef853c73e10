#!/bin/sh
# Runs the built vantrel-cli as a user would: help, a good map, a malformed map, a wrong command.
# Usage: end_to_end.sh VANTREL_CLI MAPS_FOLDER
set -u
cli=$1
maps=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$cli" --help >"$work/help" || fail "--help exits with $?"
grep -q -- "--radius LIST" "$work/help" || fail "--help does not explain --radius"

"$cli" analyse "$maps/chain3.csv" --out "$work/out" --radius 3,n --quiet 2>"$work/err" ||
    fail "a good map exits with $?: $(cat "$work/err")"
[ -s "$work/err" ] && fail "--quiet still printed: $(cat "$work/err")"
for file in axial_lines.txt junctions.txt data_matrix.txt axial_integration.txt \
    junction_integration.txt axial_measures.csv junction_measures.csv; do
    [ -f "$work/out/$file" ] || fail "$file is not written"
done
# The columns up to the radius values; the standard measures follow them.
printf '"number","connectivity","total_depth","mean_depth","reached","integration","radius_3","radius_n"\n1,1,3,1.5,2,0,0,0\n2,2,2,1,2,1,1,1\n3,1,3,1.5,2,0,0,0\n' >"$work/expected"
tr -d '\r' <"$work/out/axial_measures.csv" | cut -d, -f1-8 >"$work/leading"
cmp -s "$work/expected" "$work/leading" ||
    fail "axial_measures.csv of chain3 is: $(cat "$work/out/axial_measures.csv")"

"$cli" analyse "$maps/chain3.csv" --out "$work/timed" --quiet --timings 2>"$work/err" ||
    fail "--timings exits with $?"
grep -q "^timing: whole run: .* s, cpu .* s, peak memory .* MB$" "$work/err" ||
    fail "--timings printed: $(cat "$work/err")"

printf 'x1,y1,x2,y2\n0,1,2,3\n0,1,2\n' >"$work/short.csv"
"$cli" analyse "$work/short.csv" --out "$work/short_out" 2>"$work/err"
status=$?
[ "$status" -eq 1 ] || fail "a malformed map exits with $status"
grep -q "short.csv\", line 3: the row has 3 fields" "$work/err" ||
    fail "a malformed map printed: $(cat "$work/err")"
[ -e "$work/short_out" ] && fail "a malformed map left an output folder"

"$cli" analyse "$maps/chain3.csv" 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "a command without --out exits with $status"
grep -q "analyse needs --out FOLDER" "$work/err" || fail "a wrong command printed: $(cat "$work/err")"

# The segment command: its own help, a run, and its own usage faults.
"$cli" segment --help >"$work/segment_help" || fail "segment --help exits with $?"
grep -q -- "--tulip-bins B" "$work/segment_help" || fail "segment --help does not explain --tulip-bins"
"$cli" segment "$maps/cross2.csv" --out "$work/segments" --choice --quiet 2>"$work/err" ||
    fail "segment exits with $?: $(cat "$work/err")"
[ "$(tr -d '\r' <"$work/segments/segment_measures.csv" | wc -l)" -eq 5 ] ||
    fail "segment_measures.csv of cross2 is: $(cat "$work/segments/segment_measures.csv")"
"$cli" segment "$maps/cross2.csv" --out "$work/segments" --radius-type bends 2>"$work/err"
status=$?
[ "$status" -eq 2 ] || fail "segment with a wrong option exits with $status"
grep -q "Try 'vantrel-cli segment --help'" "$work/err" || fail "segment printed: $(cat "$work/err")"

# Ctrl-C while a large data matrix is written: the folder keeps the earlier run, nothing is left.
awk 'BEGIN { print "x1,y1,x2,y2"; for (i = 0; i < 160; i++) { print 0 "," i * 10 ",1600," i * 10; print i * 10 ",0," i * 10 ",1600" } }' >"$work/grid.csv"
cp "$work/out/axial_measures.csv" "$work/earlier"
"$cli" analyse "$work/grid.csv" --out "$work/out" --full-data-matrix --quiet 2>"$work/err" &
run=$!
tries=0
until ls "$work"/.out.vantrel-*.partial/data_matrix.txt >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -gt 600 ] && fail "the grid run never began to write its data matrix"
    sleep 0.01
done
kill -INT "$run"
wait "$run"
status=$?
[ "$status" -eq 130 ] || fail "an interrupted run exits with $status: $(cat "$work/err")"
cmp -s "$work/earlier" "$work/out/axial_measures.csv" || fail "an interrupted run changed the folder"
ls -d "$work"/.out.* >/dev/null 2>&1 && fail "an interrupted run left $(ls -d "$work"/.out.*)"

echo "vantrel-cli end to end: all checks passed"
