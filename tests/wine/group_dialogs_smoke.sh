#!/usr/bin/env bash
# Runs the group dialogs' smoke test under Wine and takes a screenshot of each dialog from the display's root
# window when the program says it shows. Needs a display with a Wine virtual desktop (the harness,
# scripts/test-windows.sh).
#
# Usage: group_dialogs_smoke.sh <wine> <group_dialogs_smoke.exe> <output folder>
#        (the screenshots: <output folder>/group_dialogs_subgroup.png and group_dialogs_invoice.png)
set -uo pipefail
wine=$1
exe=$2
out=$3
shots=(group_dialogs_subgroup group_dialogs_invoice)
mkdir -p "$out"
cd "$out" || exit 1
for name in "${shots[@]}"; do
    rm -f "$name.ready" "$name.shot" "$name.png"
done
rm -f group_dialogs_smoke.log

# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" --screenshot </dev/null >group_dialogs_smoke.log 2>&1 &
pid=$!
status=0
for name in "${shots[@]}"; do
    # The program gives up by itself after 30 s without the shot; this side waits as long for it to get ready.
    for _ in $(seq 300); do
        [[ -f $name.ready ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ -f $name.ready ]] && import -window root "$name.png"; then
        echo "screenshot: $out/$name.png"
    else
        echo "FAIL: no screenshot $name" >&2
        status=1
    fi
    touch "$name.shot"
done
wait "$pid" || status=1
grep -v '^wine: ' group_dialogs_smoke.log
exit $status
