#!/usr/bin/env bash
# Runs the black-mark dialog's screenshot program under Wine and takes a screenshot from the display's root
# window once it says the dialog shows. Needs a display with a Wine virtual desktop and the printer on USB001
# (the harness, scripts/test-windows.sh).
#
# Usage: bmset_shots.sh <wine> <bmset_shots.exe> <model settings file> <output folder>
#   (the screenshot: <output folder>/bmset.png)
set -uo pipefail
wine=$1
exe=$2
scheme=$3
out=$4
mkdir -p "$out"
cd "$out" || exit 1
rm -f bmset.ready bmset.shot bmset.png bmset_shots.log

# Z:\ is the Unix root in every Wine prefix.
scheme_win="Z:${scheme//\//\\}"
# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" "$scheme_win" --screenshot </dev/null >bmset_shots.log 2>&1 &
pid=$!
status=0
# The program gives up by itself after 30 s without the shot; this side waits as long for it to get ready.
for _ in $(seq 300); do
    [[ -f bmset.ready ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if [[ -f bmset.ready ]] && import -window root bmset.png; then
    echo "screenshot: $out/bmset.png"
else
    echo "FAIL: no screenshot bmset" >&2
    status=1
fi
touch bmset.shot
wait "$pid" || status=1
grep -v '^wine: ' bmset_shots.log
exit $status
