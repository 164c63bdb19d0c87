#!/usr/bin/env bash
# The plug-in's device page in a real property sheet under Wine, as a user meets it: the settings program and its
# stand-in port library in subfolder 3 of the 64-bit printer-driver folder (where the page starts the program the
# model settings file names), the stand-in's printer state and byte log in the output folder, the stand-in
# driver host (tavrel_sheet.cpp) showing the sheet and playing the user, and the screenshots from the display's
# root window. Needs the harness's display, Wine prefix and the printer of scripts/wine-printer-prefix.sh.
#
# Usage: tavrel_sheet.sh <wine> <tavrel_sheet.exe> <Corventa.exe> <QVP_RW.dll> <samples folder> <output folder>
#                        [--interactive]
#   With --interactive the sheet waits for a person, who closes it, and no screenshot is taken.
#   The program and stand-in given are the 64-bit ones of the host's build; CORVENTA_PROGRAM32 and
#   CORVENTA_STANDIN32, when set, name the shipped 32-bit program and its stand-in, which are used instead
#   (the harness sets them where 32-bit programs run).
#   (kept: <output folder>/tavrel_sheet_page.png, tavrel_sheet_item.png, tavrel_sheet_changed.png, received.bin)
set -uo pipefail
wine=$1
host=$(realpath "$2")
program=$3
standin=$4
samples=$(realpath "$5")
out=$(realpath -m "$6")
if [[ -n ${CORVENTA_PROGRAM32:-} && -n ${CORVENTA_STANDIN32:-} ]]; then
    program=$CORVENTA_PROGRAM32 standin=$CORVENTA_STANDIN32
    echo "the page starts the shipped 32-bit settings program with the 32-bit stand-in"
else
    echo "the page starts the 64-bit build of the settings program (the shipped one is 32-bit) with the 64-bit stand-in"
fi
drivers=$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3
[[ -f $drivers/WJ-610_Settings.Dat ]] || { echo "FAIL: no printer in the Wine prefix" >&2; exit 1; }
cp "$program" "$drivers/Corventa.exe"
cp "$standin" "$drivers/QVP_RW.dll"
mkdir -p "$out"

# shellcheck source=scripts/wine-printer-prefix.sh
source "$(dirname "$0")/../../scripts/wine-printer-prefix.sh"  # winepath_of, standin_printer_in
standin_printer_in "$out"

if [[ ${7:-} == --interactive ]]; then
    (cd "$out" && "$wine" "$host" "$(winepath_of "$samples/WJ-610_Menu.Dat")" --interactive)
else
    # The fetch runs the program twice before the first shot is ready.
    SHOT_WAIT=180 bash "$(dirname "$0")/take_shots.sh" "$wine" "$host" "$out" \
        tavrel_sheet_page,tavrel_sheet_item,tavrel_sheet_changed "$samples/WJ-610_Menu.Dat"
fi
status=$?
echo "bytes the printer received: $out/received.bin"
exit $status
