#!/usr/bin/env bash
# Runs the ink dialogs' screenshot program under Wine and takes one screenshot from the display's root window
# for each dialog it says is showing. Needs a display with a Wine virtual desktop (the harness,
# scripts/test-windows.sh).
#
# Usage: ink_dialogs_shots.sh <wine> <ink_dialogs_shots.exe> <model settings file> <menu file> <output folder>
#   (the screenshots: <output folder>/ink_alignment.png, ink_inquiry.png and ink_drying.png)
set -uo pipefail
wine=$1
exe=$2
scheme=$3
menu=$4
out=$5
shots=(ink_alignment ink_inquiry ink_drying)
mkdir -p "$out"
cd "$out" || exit 1
for s in "${shots[@]}"; do rm -f "$s.ready" "$s.shot" "$s.png"; done
rm -f ink_dialogs_shots.log

# Z:\ is the Unix root in every Wine prefix.
scheme_win="Z:${scheme//\//\\}"
menu_win="Z:${menu//\//\\}"
# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" "$scheme_win" "$menu_win" --screenshot </dev/null >ink_dialogs_shots.log 2>&1 &
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
grep -v '^wine: ' ink_dialogs_shots.log
exit $status
