#!/usr/bin/env bash
# The Linux build: installs what it needs (when missing), builds everything and runs the whole test suite
# on the simulated platform.
# Usage: scripts/test-linux.sh [build-folder] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/install-missing.sh
install_missing cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev

build=${1:-build}
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" </dev/null
