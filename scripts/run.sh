#!/usr/bin/env bash
# The main job: the printer's property sheet on Wine with the plug-in's settings page, as the driver shows it, and
# the settings program Corventa.exe that the page starts, against the stand-in port library's printer. It
# installs what it needs, cross-builds the plug-in Tavrel.dll, the small stand-in driver host that shows the sheet,
# the program and the stand-in, seeds a Wine prefix (scripts/wine-printer-prefix.sh: the printer
# "Varintex WJ-610" on USB001, its model settings file in both printer-driver folders) and puts the program beside
# the stand-in in subfolder 3 of the driver folder, where the page starts it.
# - With a display: the sheet opens; press "Get from printer" (the program fetches the menu and the values), then
#   a group button (the program opens that setting), change it, and close the sheet.
# - Without one: it runs under xvfb-run, the host presses "Get from printer", then group 2 (the paper type), sets
#   "Labels" in the settings program and closes the sheet; screenshots of the page, the item dialog and the page
#   with the new value are saved.
# At the end it says where the screenshots and the bytes the printer received are.
#
# Where this kernel cannot run 32-bit programs, the page starts the 64-bit build of the program with the 64-bit
# stand-in (the shipped program is 32-bit), and says so.
#
# Usage: scripts/run.sh        (CORVENTA_JOBS=n: parallel build jobs)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${CORVENTA_JOBS:-$(nproc)}
out=$root/build-run
export WINEPREFIX=$out/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8

step() { printf '\n== %s\n' "$*"; }
source scripts/wine-printer-prefix.sh  # winepath_of
source scripts/windows-build.sh        # install_windows_packages, build_host_resgen, cross_build

if scripts/can-run-32bit.sh; then
    program_build=build-win32 program_triple=i686-w64-mingw32
    bitness="the shipped 32-bit program"
else
    program_build=build-win64 program_triple=
    bitness="the 64-bit build of the program (this kernel cannot run 32-bit programs; the shipped one is 32-bit)"
fi

run_in_display() {  # [--headless]
    mkdir -p "$WINEPREFIX"
    wineserver -p
    trap 'wineserver -k || true' EXIT
    if [[ ! -d $WINEPREFIX/drive_c/windows ]]; then
        step "a new Wine prefix $WINEPREFIX"
        /usr/lib/wine/wine64 wineboot -i
    fi
    if [[ ${1:-} == --headless ]]; then
        # A virtual desktop gives the windows their frames on a display without a window manager.
        local reg=$out/desktop.reg
        {
            printf 'Windows Registry Editor Version 5.00\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Corventa"\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Corventa"="1024x768"\r\n\r\n'
        } >"$reg"
        /usr/lib/wine/wine64 regedit /S "$(winepath_of "$reg")"
    fi
    step "the printer in the Wine prefix"
    WINE=/usr/lib/wine/wine64 scripts/wine-printer-prefix.sh build-win64/samples \
        "$program_build/virtual-printer/standin/QVP_RW.dll"
    local host=$root/build-win64/tests/wine/tavrel_sheet.exe

    step "the property sheet of \"Varintex WJ-610\" with the settings page; the page starts $bitness"
    export CORVENTA_PROGRAM32='' CORVENTA_STANDIN32=''
    if [[ $program_build == build-win32 ]]; then
        CORVENTA_PROGRAM32=$root/build-win32/settings-app/Corventa.exe
        CORVENTA_STANDIN32=$root/build-win32/virtual-printer/standin/QVP_RW.dll
    fi
    local shots=$out/screenshots
    rm -rf "$shots"  # what an earlier run left is not this run's
    local mode=--interactive
    [[ ${1:-} == --headless ]] && mode=
    local status=0
    bash tests/wine/tavrel_sheet.sh /usr/lib/wine/wine64 "$host" build-win64/settings-app/Corventa.exe \
        build-win64/virtual-printer/standin/QVP_RW.dll build-win64/samples "$shots" $mode || status=1
    if [[ -z $mode ]] && ((status != 0)); then
        echo "FAIL: the road of one setting change from the page did not go through" >&2
    fi

    step "what the run left"
    local shot
    for shot in "$shots"/*.png; do
        [[ -f $shot ]] && echo "screenshot: $shot"
    done
    if [[ -f $shots/received.bin ]]; then
        echo "bytes the printer received: $shots/received.bin"
        od -An -tx1 -v "$shots/received.bin" | sed 's/^/   /'
    fi
    return $status
}

if [[ ${1:-} == --in-display ]]; then
    shift
    run_in_display "$@"
    exit
fi

install_windows_packages
build_host_resgen
CORVENTA_WIN_TARGETS="tavrel_sheet" cross_build build-win64 x86_64-w64-mingw32
if [[ -n $program_triple ]]; then
    CORVENTA_WIN_TARGETS="Corventa qvp_rw_standin" cross_build "$program_build" "$program_triple"
fi
mkdir -p "$out"
if [[ -n ${DISPLAY:-} ]]; then
    "$0" --in-display
else
    xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-display --headless
fi
