#!/usr/bin/env bash
# Runs the forms smoke test under Wine and takes its screenshot from the display's root window once the program
# says its windows show. Needs a display with a Wine virtual desktop (the harness, scripts/test-windows.sh).
#
# Usage: forms_smoke.sh <wine> <forms_smoke.exe> <output folder>   (the screenshot: <output folder>/forms_smoke.png)
set -uo pipefail
wine=$1
exe=$2
out=$3
mkdir -p "$out"
cd "$out" || exit 1
rm -f forms_smoke.ready forms_smoke.shot forms_smoke.png forms_smoke.log

# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" --screenshot </dev/null >forms_smoke.log 2>&1 &
pid=$!
# The program gives up by itself after 30 s without the shot; this side waits as long for it to get ready.
for _ in $(seq 300); do
    [[ -f forms_smoke.ready ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
shot=0
if [[ -f forms_smoke.ready ]]; then
    import -window root forms_smoke.png && shot=1
fi
touch forms_smoke.shot
wait "$pid"
status=$?
grep -v '^wine: ' forms_smoke.log
if ((shot)); then
    echo "screenshot: $out/forms_smoke.png"
else
    echo "FAIL: no screenshot" >&2
    status=1
fi
exit $status
