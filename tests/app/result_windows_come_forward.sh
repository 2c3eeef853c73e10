#!/bin/sh
# Under a window manager, a results window whose operation asked a question first comes to the
# front with its result: the depth map after its number prompt, the junction graph after its
# warning. The real program with openbox on a virtual screen.
# usage: result_windows_come_forward.sh VANTREL
set -eu
program=$(readlink -f "$1")
for tool in xvfb-run xdotool xprop openbox python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
# The program must draw on the virtual screen, whatever platform the caller chose for Qt.
unset QT_QPA_PLATFORM
mkdir -p "$XDG_DATA_HOME/Vantrel"
# Eight lines across and eight down (64 junctions), left by a run that did not end cleanly.
python3 -c 'import json, sys
lines = [[500, 500 + 750 * i, 8500, 500 + 750 * i] for i in range(8)]
lines += [[700 + 1000 * i, 300, 700 + 1000 * i, 6400] for i in range(8)]
json.dump({"format": "Vantrel project", "version": 1, "lines": lines,
           "map": {"width": 9000, "height": 6750, "zoomX": 1, "zoomY": 1, "scaleFixed": True},
           "pen": {"colour": "#000000", "width": 1}}, open(sys.argv[1], "w"))' \
    "$XDG_DATA_HOME/Vantrel/recovery-1-1.vantrel"

cat >"$work/session.sh" <<'SESSION'
set -eu
fail() { echo "FAIL: $*"; exit 1; }
window() { # waits up to 60 s for a window whose name matches $1; prints its id
    for _ in $(seq 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
in_front() { # waits up to 10 s for window $1 to be active and stacked above the main window
    for _ in $(seq 50); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] &&
            xprop -root _NET_CLIENT_LIST_STACKING | python3 -c 'import sys
order = [int(id, 16) for id in sys.stdin.read().split("#")[1].replace(",", " ").split()]
sys.exit(order.index(int(sys.argv[1])) < order.index(int(sys.argv[2])))' "$1" "$main" &&
            return 0
        sleep 0.2
    done
    return 1
}
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.2; done
"$1" >"$2/program.log" 2>&1 &
offer=$(window '^Recovering the Axial Map') || fail "the grid was not offered back"
xdotool windowactivate --sync "$offer" key Return
main=$(window '^VANTREL Generalized') || fail "the main window did not appear"
sleep 1
# Axial Line Analysis and Junction Analysis, the 4th and 5th buttons of the column.
xdotool mousemove --window "$main" 74 178 click 1
axial=$(window '^Accessibility/Integration Values of the Axial Map$') || fail "no axial results"
xdotool mousemove --window "$main" 74 215 click 1
junctions=$(window '^Accessibility/Integration Values of the Junctions') || fail "no junction results"

xdotool windowactivate --sync "$main" windowactivate --sync "$axial" key alt+m sleep 0.5 key d
prompt=$(window '^Getting the Line Number') || fail "the depth map asked for no line"
xdotool windowactivate --sync "$prompt" type 1
xdotool key Return
in_front "$axial" || fail "after its number prompt the depth map is not in front"

xdotool windowactivate --sync "$main" windowactivate --sync "$junctions" key alt+g sleep 0.5 key j
warning=$(window '^There are over 50 Junctions') || fail "the junction graph gave no warning"
xdotool windowactivate --sync "$warning" key Return
in_front "$junctions" || fail "after its warning the junction graph is not in front"
echo "both results windows came to the front with their results"
SESSION
xvfb-run -a -s "-screen 0 1024x768x24" sh "$work/session.sh" "$program" "$work"
