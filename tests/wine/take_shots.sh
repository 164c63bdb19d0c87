#!/usr/bin/env bash
# Runs a Wine program that shows windows one after another and takes a screenshot from the display's root window
# of each, when the program says it shows (it writes <shot>.ready into the output folder and waits for
# <shot>.shot). Needs a display with a Wine virtual desktop (the harness, scripts/test-windows.sh).
#
# Usage: take_shots.sh <wine> <program.exe> <output folder> <shot,shot,...> [program arguments...]
#   Arguments that are absolute Unix paths are handed to the program as Windows paths; --screenshot follows them.
#   (the screenshots: <output folder>/<shot>.png)
#   SHOT_WAIT: seconds to wait for each shot to get ready (default 30)
set -uo pipefail
wine=$1
exe=$2
out=$3
IFS=, read -r -a shots <<<"$4"
shift 4
log=$(basename "$exe" .exe).log
mkdir -p "$out"
cd "$out" || exit 1
for s in "${shots[@]}"; do rm -f "$s.ready" "$s.shot" "$s.png"; done
rm -f "$log"

# Z:\ is the Unix root in every Wine prefix.
args=()
for a in "$@"; do
    [[ $a == /* ]] && a="Z:${a//\//\\}"
    args+=("$a")
done
# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the
# program, and a caller that reads our output to its end would wait for it.
"$wine" "$exe" "${args[@]}" --screenshot </dev/null >"$log" 2>&1 &
pid=$!
status=0
for s in "${shots[@]}"; do
    # The program gives up by itself after 30 s without the shot; this side waits for it to get ready.
    for _ in $(seq $((${SHOT_WAIT:-30} * 10))); do
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
grep -v '^wine: ' "$log"
exit $status
