#!/usr/bin/env bash
# The main job: the settings program Corventa.exe on Wine, started for one base item as the driver's settings
# page starts it, against the stand-in port library's printer. It installs what it needs, cross-builds the
# program, the stand-in and the small driver program, seeds a Wine prefix (scripts/wine-printer-prefix.sh: the
# printer "Varintex WJ-610" on USB001, its model settings file in both printer-driver folders), puts the program
# beside the stand-in in the driver folder and starts it with "Varintex WJ-610" 1 1 (base item 1, the paper type).
# - With a display: the real window opens; change the setting and close it.
# - Without one: it runs under xvfb-run, the driver program picks "Labels" and presses Set, and a screenshot of
#   the item dialog is saved.
# At the end it says where the screenshot, the values file and the bytes the printer received are.
#
# Where this kernel cannot run 32-bit programs, it runs the 64-bit build of the program with the 64-bit stand-in
# (the shipped program is 32-bit), and says so.
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
    build=build-win32 triple=i686-w64-mingw32 wine=/usr/lib/wine/wine
    bitness="the shipped 32-bit program"
else
    build=build-win64 triple=x86_64-w64-mingw32 wine=/usr/lib/wine/wine64
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
    WINE=/usr/lib/wine/wine64 scripts/wine-printer-prefix.sh "$build/samples" \
        "$build/virtual-printer/standin/QVP_RW.dll"
    local program_folder=$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3
    cp "$build/settings-app/Corventa.exe" "$program_folder/"
    # shellcheck disable=SC1091
    source "$WINEPREFIX/varintex-printer/qvp_rw.env"
    local program='C:\windows\system32\spool\drivers\x64\3\Corventa.exe'
    local driver=$root/$build/tests/wine/corventa_road.exe
    local samples
    samples=$(winepath_of "$root/$build/samples")
    local screenshot=

    step "Corventa.exe \"Varintex WJ-610\" 1 1: $bitness"
    cd "$out"
    if [[ ${1:-} == --headless ]]; then
        rm -f corventa_road.ready corventa_road.shot item_dialog.png
        "$wine" "$driver" "$program" "$samples\\WJ-610_Settings.Dat" "$samples\\WJ-610_Menu.Dat" --screenshot \
            </dev/null >driver.log 2>&1 &
        local pid=$!
        for _ in $(seq 600); do
            [[ -f corventa_road.ready ]] && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        [[ -f corventa_road.ready ]] && import -window root item_dialog.png && screenshot=$out/item_dialog.png
        touch corventa_road.shot
        local status=0
        wait "$pid" || status=1
        grep -v '^wine: ' driver.log || true
        ((status == 0)) || { echo "FAIL: the road of one setting change did not go through" >&2; return 1; }
    else
        "$wine" "$driver" "$program" "$samples\\WJ-610_Settings.Dat" "$samples\\WJ-610_Menu.Dat" --seed
        (cd "$program_folder" && "$wine" Corventa.exe "Varintex WJ-610" 1 1)
    fi

    step "what the run left"
    [[ -n $screenshot ]] && echo "screenshot of the item dialog: $screenshot"
    local values
    values=$(find "$WINEPREFIX/drive_c/users" -path '*/Varintex Printer/Varintex WJ-610' -type f | head -1)
    if [[ -n $values ]]; then
        echo "values file: $values"
        sed "s/^/    /" "$values"
    else
        echo "values file: none (it is written once a setting has been changed)"
    fi
    local received=$WINEPREFIX/varintex-printer/received.bin
    echo "bytes the printer received: $received"
    [[ -f $received ]] && od -An -tx1 -v "$received" | sed 's/^/   /'
    return 0
}

if [[ ${1:-} == --in-display ]]; then
    shift
    run_in_display "$@"
    exit
fi

install_windows_packages
build_host_resgen
CORVENTA_WIN_TARGETS="Corventa qvp_rw_standin corventa_road samples" cross_build "$build" "$triple"
mkdir -p "$out"
if [[ -n ${DISPLAY:-} ]]; then
    "$0" --in-display
else
    xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-display --headless
fi
