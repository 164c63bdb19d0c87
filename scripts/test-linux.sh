#!/usr/bin/env bash
# The Linux build: installs what it needs (when missing), builds everything and runs the whole test suite
# on the simulated platform.
# Usage: scripts/test-linux.sh [build-folder] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build=${1:-build}
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" </dev/null
