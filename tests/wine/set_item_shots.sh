#!/usr/bin/env bash
# Runs the item dialog's screenshot program under Wine and takes one screenshot from the display's root window
# for each dialog it says is showing. Needs a display with a Wine virtual desktop (the harness,
# scripts/test-windows.sh).
#
# Usage: set_item_shots.sh <wine> <set_item_shots.exe> <model settings file> <output folder>
#   (the screenshots: <output folder>/set_item_list.png and set_item_multiselect.png)
set -uo pipefail
wine=$1
exe=$2
scheme=$3
out=$4
shots=(set_item_list set_item_multiselect)
mkdir -p "$out"
cd "$out" || exit 1
for s in "${shots[@]}"; do rm -f "$s.ready" "$s.shot" "$s.png"; done
rm -f set_item_shots.log

# Z:\ is the Unix root in every Wine prefix.
scheme_win="Z:${scheme//\//\\}"
# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" "$scheme_win" --screenshot </dev/null >set_item_shots.log 2>&1 &
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
grep -v '^wine: ' set_item_shots.log
exit $status
