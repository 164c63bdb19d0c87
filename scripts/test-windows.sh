#!/usr/bin/env bash
# The Windows checks: cross builds with mingw-w64 (build-win32: 32-bit, build-win64: 64-bit), then their test
# suites under Wine, in a fresh Wine prefix, inside one Xvfb display with one wineserver for the whole run.
#
# Usage: scripts/test-windows.sh
#   CORVENTA_WINE32_OPTIONAL=1  let the run pass where 32-bit programs cannot run at all (a kernel without
#                               32-bit support): the 32-bit suites are then built and checked, but not run.
#   CORVENTA_WIN_TARGETS="a b"  build only these targets of the cross builds (default: everything)
#   CORVENTA_JOBS=n             parallel build jobs (default: the number of processors)
#   CORVENTA_WINE_TESTS=regex   run only the Wine suites whose names match (ctest -R)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine-printer-prefix.sh  # printer_reg, winepath_of
jobs=${CORVENTA_JOBS:-$(nproc)}

wine64=/usr/lib/wine/wine64
[[ -x $wine64 ]] || wine64=$(command -v wine64 || command -v wine || echo wine64)
export WINEPREFIX=$root/build-win64/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
spool=$root/build-win64/spool
port_file=$spool/USB001.bin

step() { printf '\n== %s\n' "$*"; }

run_in_display() {
    # One wineserver for the whole run; everything below talks to it.
    mkdir -p "$WINEPREFIX"
    wineserver -p
    trap 'wineserver -k || true' EXIT
    "$wine64" wineboot -i
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"

    # A virtual desktop, so that windows get frames (the display has no window manager); the contract printer
    # with its port mapped to a file, so that raw jobs can be read back. wineboot has made the desktop "Default"
    # already, on the bare display, and the registry cannot change a running desktop: the programs get a
    # desktop of their own name, which the first of them starts as a virtual desktop of that size.
    local reg=$spool/seed.reg
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Corventa"\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Corventa"="1024x768"\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Printing\\Spooler]\r\n"USB001"="%s"\r\n\r\n' "$port_file"
        printer_reg 'Contract Printer' USB001 'Contract Driver' contract
    } >"$reg"
    "$wine64" regedit /S "$(winepath_of "$reg")"
    # The settings program's printer (raw jobs to its port reach the contract's port file too), with the stand-in
    # of the settings program's bitness, 32.
    WINE=$wine64 scripts/wine-printer-prefix.sh build-win64/samples build-win32/virtual-printer/standin/QVP_RW.dll
    # The Chinese texts of the settings program: Tahoma and the dialog fonts fall back to a CJK font
    # (fonts-wqy-microhei), as a Chinese Windows links them to its own. (reg, not the file above: regedit
    # reads a multi-string's bytes of an 8-bit file in the code page.)
    local face
    for face in 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif'; do
        "$wine64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
            /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null
    done

    export CORVENTA_CONTRACT_PORT_FILE
    CORVENTA_CONTRACT_PORT_FILE=$(winepath_of "$port_file")

    # The device page in its sheet starts the shipped 32-bit settings program where 32-bit programs run.
    if scripts/can-run-32bit.sh; then
        export CORVENTA_PROGRAM32=$root/build-win32/settings-app/Corventa.exe
        export CORVENTA_STANDIN32=$root/build-win32/virtual-printer/standin/QVP_RW.dll
    fi

    local status=0
    step "64-bit suites under Wine"
    local only=(${CORVENTA_WINE_TESTS:+-R "$CORVENTA_WINE_TESTS"})
    ctest --test-dir build-win64 --output-on-failure -j1 "${only[@]}" </dev/null || status=1
    step "32-bit suites under Wine"
    if /usr/lib/wine/wine --version >/dev/null 2>&1 || [[ ! -e /usr/lib/wine/wine ]]; then
        ctest --test-dir build-win32 --output-on-failure -j1 "${only[@]}" </dev/null || status=1
    elif [[ ${CORVENTA_WINE32_OPTIONAL:-} == 1 ]]; then
        echo "SKIPPED: this kernel cannot run 32-bit programs, so Wine cannot run PE32 ones here"
    else
        echo "FAIL: this kernel cannot run 32-bit programs (wine32); set CORVENTA_WINE32_OPTIONAL=1 to accept" >&2
        status=1
    fi
    return $status
}

if [[ ${1:-} == --in-display ]]; then
    run_in_display
    exit
fi

# ---- packages and builds ---------------------------------------------------------------------------------
source scripts/windows-build.sh  # install_windows_packages, build_host_resgen, cross_build
install_windows_packages
build_host_resgen
cross_build build-win32 i686-w64-mingw32
cross_build build-win64 x86_64-w64-mingw32

# ---- what the binaries are ------------------------------------------------------------------------------
step "binary formats and exports"
expect_format() {  # <file> <format>
    local what
    what=$(file -b "$1")
    [[ $what == "$2 "* ]] || { echo "FAIL: $1 is not $2: $what" >&2; exit 1; }
    echo "$1: $what"
}
standin=build-win32/virtual-printer/standin/QVP_RW.dll
expect_format build-win32/tests/contract/platform_contract_tests.exe PE32
expect_format "$standin" PE32
expect_format build-win64/tests/contract/platform_contract_tests.exe PE32+
expect_format build-win64/tests/wine/forms_smoke.exe PE32+  # ctest runs it: tests/wine/forms_smoke.sh, screenshot
expect_format build-win64/tests/wine/set_item_shots.exe PE32+  # ctest runs it through tests/wine/take_shots.sh, screenshots
expect_format build-win64/tests/wine/ink_dialogs_shots.exe PE32+  # ctest runs it through tests/wine/take_shots.sh, screenshots
expect_format build-win64/tests/wine/main_window_shots.exe PE32+  # ctest runs it through tests/wine/take_shots.sh, screenshots
expect_format build-win64/tests/wine/bmset_shots.exe PE32+  # ctest runs it through tests/wine/take_shots.sh, screenshots
expect_format build-win32/tests/forms_contract/forms_contract_tests.exe PE32
# The settings program as it ships (32-bit), and its 64-bit build for hosts that cannot run 32-bit programs; ctest
# runs each on the road of one setting change (tests/wine/corventa_road.sh, screenshot corventa_road.png).
expect_format build-win32/settings-app/Corventa.exe PE32
expect_format build-win64/settings-app/Corventa.exe PE32+
for program in build-win32/settings-app/Corventa.exe build-win64/settings-app/Corventa.exe; do
    grep -q 'level="requireAdministrator"' "$program" && grep -q 'Microsoft.Windows.Common-Controls' "$program" ||
        { echo "FAIL: $program lacks its manifest (administrator rights, common controls 6)" >&2; exit 1; }
done
echo "Corventa.exe manifests: administrator rights, common controls 6"
expect_format build-win64/tests/forms_contract/forms_contract_tests.exe PE32+
# What ships is a windowed program (no console window opens with it); only the test programs are console ones.
while IFS= read -r -d '' program; do
    what=$(file -b "$program")
    [[ $what == *"(GUI)"* ]] || { echo "FAIL: $program is no GUI program: $what" >&2; exit 1; }
    echo "$program: $what"
done < <(find build-win32 build-win64 \( -path '*/tests' -o -path '*/googletest' -o -path '*/wineprefix' \
              -o -path '*/CMakeFiles' \) -prune -o -name '*.exe' -type f -print0)
exports=$(i686-w64-mingw32-objdump -p "$standin" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
want="CloseUSBPort GetUSBHWID GetUSBPrintFileName OpenPrinterUSBPort ReadPort USBPrintRefresh WritePort "
[[ $exports == "$want" ]] || { echo "FAIL: QVP_RW.dll exports '$exports', want '$want'" >&2; exit 1; }
echo "QVP_RW.dll exports (undecorated): $exports"
tavrel=build-win64/driver-ui-plugin/Tavrel.dll  # ctest runs tests/wine/tavrel_host.cpp against it
# ctest runs it through tests/wine/tavrel_sheet.sh: the device page in a real property sheet, screenshots
expect_format build-win64/tests/wine/tavrel_sheet.exe PE32+
expect_format "$tavrel" PE32+
exports=$(x86_64-w64-mingw32-objdump -p "$tavrel" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
want="DllCanUnloadNow DllGetClassObject "
[[ $exports == "$want" ]] || { echo "FAIL: Tavrel.dll exports '$exports', want '$want'" >&2; exit 1; }
echo "Tavrel.dll exports (undecorated): $exports"
# The runtimes are linked in: no binary may need a DLL that Windows does not bring.
while IFS= read -r -d '' pe; do
    if x86_64-w64-mingw32-objdump -p "$pe" | grep -iE 'DLL Name: (libstdc|libgcc|libwinpthread|zlib)'; then
        echo "FAIL: $pe needs a runtime DLL" >&2
        exit 1
    fi
done < <(find build-win32 build-win64 \( -path '*/googletest' -o -path '*/wineprefix' -o -path '*/CMakeFiles' \) \
              -prune -o \( -name '*.exe' -o -name '*.dll' \) -type f -print0)
echo "no binary needs a runtime DLL beside it"

# ---- the Wine prefix ------------------------------------------------------------------------------------
step "fresh Wine prefix $WINEPREFIX"
rm -rf "$WINEPREFIX" "$spool"
mkdir -p "$spool"

xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-display
