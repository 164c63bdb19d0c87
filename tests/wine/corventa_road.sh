#!/usr/bin/env bash
# The road of one setting change with the real Corventa.exe under Wine: the program and the stand-in port library
# of one bitness in a program folder of their own, the stand-in's printer state and byte log in the output folder,
# the driver program playing the user (corventa_road.cpp) and one screenshot of the item dialog from the display's
# root window. Needs the harness's display, Wine prefix and the printer of scripts/wine-printer-prefix.sh.
#
# Usage: corventa_road.sh <wine> <Corventa.exe> <QVP_RW.dll> <corventa_road.exe> <samples folder> <output folder>
#   (kept: <output folder>/corventa_road.png, received.bin (the bytes the printer received), printer.state)
set -uo pipefail
here=$(dirname "$(realpath "$0")")
wine=$1
exe=$(realpath "$2")
standin=$(realpath "$3")
driver=$(realpath "$4")
samples=$(realpath "$5")
out=$(realpath -m "$6")
mkdir -p "$out/program"
cd "$out" || exit 1
rm -f corventa_road.ready corventa_road.shot corventa_road.png corventa_road.log
cp "$exe" "$standin" program/
case $(file -b "$exe") in
    PE32+*) echo "the 64-bit build of the settings program (the shipped one is 32-bit) with the 64-bit stand-in" ;;
    *) echo "the shipped 32-bit settings program with the 32-bit stand-in" ;;
esac

# shellcheck source=scripts/wine-printer-prefix.sh
source "$here/../../scripts/wine-printer-prefix.sh"  # winepath_of, standin_printer_in
standin_printer_in "$out" || { echo "FAIL: no printer in the Wine prefix" >&2; exit 1; }

# Into a file: a process that Wine starts on the way (the desktop) inherits the output and outlives the program.
"$wine" "$driver" "$(winepath_of "$out/program/$(basename "$exe")")" "$(winepath_of "$samples/WJ-610_Settings.Dat")" \
    "$(winepath_of "$samples/WJ-610_Menu.Dat")" --screenshot </dev/null >corventa_road.log 2>&1 &
pid=$!
status=0
for _ in $(seq 600); do
    [[ -f corventa_road.ready ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if [[ -f corventa_road.ready ]] && import -window root corventa_road.png; then
    echo "screenshot: $out/corventa_road.png"
else
    echo "FAIL: no screenshot of the item dialog" >&2
    status=1
fi
touch corventa_road.shot
wait "$pid" || status=1
grep -v '^wine: ' corventa_road.log
echo "bytes the printer received: $out/received.bin"
exit $status
