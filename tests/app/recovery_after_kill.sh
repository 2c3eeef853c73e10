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
# The program must draw on the virtual screen, whatever platform the caller chose for Qt.
unset QT_QPA_PLATFORM
folder="$XDG_DATA_HOME/Vantrel"

cat >"$work/session.sh" <<'SESSION'
set -eu
program=$1 folder=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }
wait_for_window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# The lines of a recovery file, as JSON text.
recovery_lines() {
    python3 -c 'import json,sys; print(json.dumps(json.load(open(sys.argv[1]))["lines"]))' "$1"
}
# Waits up to 20 s for a recovery file other than $1 whose lines number $2; prints its name.
wait_for_recovery() {
    for _ in $(seq 100); do
        for file in "$folder"/recovery-*.vantrel; do
            [ -f "$file" ] && [ "$file" != "$1" ] || continue
            count=$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["lines"]))' \
                "$file" 2>/dev/null || echo 0)
            [ "$count" = "$2" ] && { echo "$file"; return 0; }
        done
        sleep 0.2
    done
    return 1
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
kept=$(wait_for_recovery none 2) || fail "no recovery file of two lines was written while drawing"
lines=$(recovery_lines "$kept")
kill -KILL "$first"
wait "$first" 2>/dev/null || true

"$program" >"$work/second.log" 2>&1 &
second=$!
offer=$(wait_for_window '^Recovering the Axial Map') || fail "the lines were not offered back"
xdotool windowfocus --sync "$offer" 2>/dev/null || true
xdotool key Return
restored=$(wait_for_recovery "$kept" 2) || fail "the restored lines are not kept by the new run"
[ "$(recovery_lines "$restored")" = "$lines" ] || fail "restored $(recovery_lines "$restored"), drew $lines"
[ ! -e "$kept" ] || fail "the restored recovery file is still there"
kill -KILL "$second"
echo "restored $lines"
SESSION
xvfb-run -a -s "-screen 0 1024x768x24" sh "$work/session.sh" "$program" "$folder" "$work"
