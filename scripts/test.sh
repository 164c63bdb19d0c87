#!/usr/bin/env bash
# The test command: the Linux suites on the simulated platform, then the Windows checks (both cross builds,
# their suites under Wine). Each part installs the packages it needs when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/test-linux.sh build

# Some virtual machines' kernels cannot run 32-bit programs at all, and Wine then cannot run the 32-bit
# builds: say so, and let the Windows checks build and inspect those without running them.
if [[ -z ${CORVENTA_WINE32_OPTIONAL:-} ]] && ! scripts/can-run-32bit.sh; then
    echo "NOTE: this kernel cannot run 32-bit programs: the 32-bit Windows suites are built and checked, not run"
    export CORVENTA_WINE32_OPTIONAL=1
fi
scripts/test-windows.sh
