#!/usr/bin/env bash
# The settings program's Windows environment in a Wine prefix:
# - the printer "Varintex WJ-610", installed on the USB port USB001, its driver registered for both
#   environments (64-bit "Windows x64", 32-bit "Windows NT x86");
# - its model settings file WJ-610_Settings.Dat in subfolder 3 of the printer-driver folder of both
#   environments: the spooler names the folder of the asking program's own environment (...\drivers\x64 to a
#   64-bit program, ...\drivers\w32x86 to a 32-bit one), and the plug-in and the settings program may differ;
# - the stand-in port library QVP_RW.dll in the program folder, where a program started from there loads it,
#   and the file $WINEPREFIX/varintex-printer/qvp_rw.env with the stand-in's variables for that printer:
#   its identity (model WJ-610 on USB001), QVP_RW_STATE (the printer's state, kept between program runs) and
#   QVP_RW_LOG (every byte it received), as Windows paths. Whoever starts the program sources it first.
# Raw jobs to USB001 go wherever the prefix's spooler sends that port; the caller maps it when it needs them.
#
# Usage: scripts/wine-printer-prefix.sh <samples folder> <QVP_RW.dll> [<program folder>]
#   <samples folder>  a build's samples/, which holds the model settings file as the program reads it
#   <QVP_RW.dll>      the stand-in of the program's bitness
#   <program folder>  a Unix path; default: subfolder 3 of the 64-bit printer-driver folder, where the plug-in
#                     starts the settings program
#   WINEPREFIX        a prefix that wineboot has made; WINE: the wine program (default: wine64, else wine)
# Running it again brings the prefix back to the same state (the printer's state and log files stay).
#
# Sourced (scripts/test-windows.sh and the Wine checks' scripts do), it only defines printer_reg, winepath_of and
# standin_printer_in.

# printer_reg <printer> <port> <driver> <driver file stem>: the registry entries (regedit format, CR LF) of one
# installed local printer and of its driver in both environments.
printer_reg() {
    local name=$1 port=$2 driver=$3 stem=$4
    local print='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print'
    printf '[%s\\Printers\\%s]\r\n' "$print" "$name"
    printf '"Name"="%s"\r\n"Port"="%s"\r\n"Printer Driver"="%s"\r\n' "$name" "$port" "$driver"
    printf '"Print Processor"="WinPrint"\r\n"Datatype"="RAW"\r\n"Attributes"=dword:00000040\r\n\r\n'
    local env
    for env in 'Windows x64' 'Windows NT x86'; do
        printf '[%s\\Environments\\%s\\Drivers\\Version-3\\%s]\r\n' "$print" "$env" "$driver"
        printf '"Version"=dword:00000003\r\n"Driver"="%s.drv"\r\n"Data File"="%s.ppd"\r\n' "$stem" "$stem"
        printf '"Configuration File"="%s.drv"\r\n\r\n' "$stem"
    done
}

# Z:\ is the Unix root in every Wine prefix.
winepath_of() {
    local p=$1
    printf 'Z:%s' "${p//\//\\}"
}

# standin_printer_in <folder>: exports the stand-in's variables for the prefix's printer, with its state and byte
# log in <folder> instead, for a run that keeps its own; fails when the prefix has no printer.
standin_printer_in() {
    # shellcheck disable=SC1091
    source "$WINEPREFIX/varintex-printer/qvp_rw.env" 2>/dev/null || return 1
    QVP_RW_STATE=$(winepath_of "$1/printer.state")
    QVP_RW_LOG=$(winepath_of "$1/received.bin")
    export QVP_RW_STATE QVP_RW_LOG
}

if [[ ${BASH_SOURCE[0]} != "$0" ]]; then
    return 0
fi

set -euo pipefail
if (($# < 2 || $# > 3)); then
    sed -n '/^# Usage:/,/^# Running/p' "$0" >&2
    exit 2
fi
samples=$(realpath "$1")
standin=$(realpath "$2")
: "${WINEPREFIX:?the Wine prefix to seed}"
if [[ -n ${WINE:-} ]]; then
    wine=$WINE
elif [[ -x /usr/lib/wine/wine64 ]]; then
    wine=/usr/lib/wine/wine64
else
    wine=$(command -v wine64 || command -v wine || echo wine64)
fi

printer='Varintex WJ-610'
model=WJ-610
port=USB001
drivers=$WINEPREFIX/drive_c/windows/system32/spool/drivers
program_folder=${3:-$drivers/x64/3}
settings=$samples/${model}_Settings.Dat

[[ -d $WINEPREFIX/drive_c/windows ]] || { echo "FAIL: $WINEPREFIX is no Wine prefix (run wineboot first)" >&2; exit 1; }
[[ -f $settings ]] || { echo "FAIL: no $settings (build the samples first)" >&2; exit 1; }
[[ -f $standin ]] || { echo "FAIL: no stand-in port library $standin" >&2; exit 1; }

state=$WINEPREFIX/varintex-printer
mkdir -p "$state" "$program_folder"
reg=$state/printer.reg
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printer_reg "$printer" "$port" "$printer" varintex
} >"$reg"
"$wine" regedit /S "$(winepath_of "$reg")"

# The spool folder is exempt from the 32-bit file-system redirection, on Windows as in Wine: both
# environments' folders lie under system32.
for environment in x64 w32x86; do
    mkdir -p "$drivers/$environment/3"
    cp "$settings" "$drivers/$environment/3/"
done
cp "$standin" "$program_folder/QVP_RW.dll"

{
    echo "export QVP_RW_MODEL=$model QVP_RW_SERIAL=WJ0001 QVP_RW_PORT=$((10#${port#USB}))"
    printf "export QVP_RW_STATE='%s'\n" "$(winepath_of "$state/printer.state")"
    printf "export QVP_RW_LOG='%s'\n" "$(winepath_of "$state/received.bin")"
} >"$state/qvp_rw.env"
echo "printer \"$printer\" on $port in $WINEPREFIX; model settings file in $drivers/{x64,w32x86}/3;" \
     "QVP_RW.dll in $program_folder; stand-in variables in $state/qvp_rw.env"
