#!/bin/sh
# A run killed while the user draws leaves its lines behind, and the next run offers them back:
# the real program on a virtual screen, lines drawn with the pointer, then SIGKILL.
# usage: recovery_after_kill.sh VANTREL
set -eu
program=$(readlink -f "$1")
for tool in xvfb-run xdotool python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
folder="$XDG_DATA_HOME/Vantrel"

cat >"$work/session.sh" <<'SESSION'
set -eu
program=$1 folder=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }
wait_for_window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# The lines of the one recovery file of a run, as JSON text.
recovery_lines() {
    python3 -c 'import json,sys; print(json.dumps(json.load(open(sys.argv[1]))["lines"]))' "$1"
}

"$program" >"$work/first.log" 2>&1 &
first=$!
main=$(wait_for_window '^VANTREL Generalized') || fail "the main window did not appear"
xdotool windowfocus --sync "$main" 2>/dev/null || true
sleep 1
xdotool mousemove 74 491 click 1       # FIX
sleep 0.5
xdotool mousemove 250 150 mousedown 1 sleep 0.2 mousemove 350 200 sleep 0.2 \
    mousemove 500 300 sleep 0.2 mouseup 1
sleep 0.5
xdotool mousemove 250 300 mousedown 1 sleep 0.2 mousemove 350 250 sleep 0.2 \
    mousemove 500 150 sleep 0.2 mouseup 1
sleep 1
kept=$(ls "$folder"/recovery-*.vantrel 2>/dev/null | head -n 1)
[ -n "$kept" ] || fail "no recovery file was written while drawing"
lines=$(recovery_lines "$kept")
[ "$(python3 -c 'import json,sys; print(len(json.loads(sys.argv[1])))' "$lines")" = 2 ] ||
    fail "the recovery file holds $lines, not two lines"
kill -KILL "$first"
wait "$first" 2>/dev/null || true

"$program" >"$work/second.log" 2>&1 &
second=$!
offer=$(wait_for_window '^Recovering the Axial Map') || fail "the lines were not offered back"
xdotool windowfocus --sync "$offer" 2>/dev/null || true
xdotool key Return
sleep 1.5
[ ! -e "$kept" ] || fail "the restored recovery file is still there"
restored=$(ls "$folder"/recovery-*.vantrel 2>/dev/null | head -n 1)
[ -n "$restored" ] || fail "the restored lines are not kept by the new run"
[ "$(recovery_lines "$restored")" = "$lines" ] || fail "restored $(recovery_lines "$restored"), drew $lines"
kill -KILL "$second"
echo "restored $lines"
SESSION
xvfb-run -a -s "-screen 0 1024x768x24" sh "$work/session.sh" "$program" "$folder" "$work"
