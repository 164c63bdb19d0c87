#!/usr/bin/env bash
# Runs the main window's screenshot program under Wine and takes one screenshot from the display's root window
# for each page it says is showing. Needs a display with a Wine virtual desktop (the harness,
# scripts/test-windows.sh).
#
# Usage: main_window_shots.sh <wine> <main_window_shots.exe> <impact model settings file>
#                             <ink model settings file> <ink menu file> <output folder>
#   (the screenshots: <output folder>/main_window_base.png, main_window_maintenance.png,
#    main_window_warning.png and main_window_normal_set.png)
set -uo pipefail
wine=$1
exe=$2
impact=$3
ink=$4
menu=$5
out=$6
shots=(main_window_base main_window_maintenance main_window_warning main_window_normal_set)
mkdir -p "$out"
cd "$out" || exit 1
for s in "${shots[@]}"; do rm -f "$s.ready" "$s.shot" "$s.png"; done
rm -f main_window_shots.log

# Z:\ is the Unix root in every Wine prefix.
win() { printf 'Z:%s' "${1//\//\\}"; }
# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" "$(win "$impact")" "$(win "$ink")" "$(win "$menu")" --screenshot </dev/null >main_window_shots.log 2>&1 &
pid=$!
status=0
for s in "${shots[@]}"; do
    # The program gives up by itself after 30 s without the shot; this side waits as long for it to get ready.
    for _ in $(seq 300); do
        [[ -f $s.ready ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ -f $s.ready ]] && import -window root "$s.png"; then
        echo "screenshot: $out/$s.png"
    else
        echo "FAIL: no screenshot $s" >&2
        status=1
    fi
    touch "$s.shot"
done
wait "$pid" || status=1
grep -v '^wine: ' main_window_shots.log
exit $status
