#!/usr/bin/env bash
# The fuzz targets (tests/fuzz): builds them with clang in build-fuzz and runs each from its seed corpus.
# Usage: scripts/fuzz.sh [runs N | seconds N]
#   runs N     each target for N executions (the smoke run of CI; default: runs 2000)
#   seconds N  each target for N seconds, three at a time, its new inputs kept in build-fuzz/corpus/<name>
# A crash, a sanitizer report or a leak stops the run with the target's output and the input that caused it
# (build-fuzz/findings/). Environment: FUZZ_JOBS (targets at a time, default 3), FUZZ_TARGETS (names to run).
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-runs}
amount=${2:-2000}
case "$mode" in
runs) limit=(-runs="$amount") ;;
seconds) limit=(-max_total_time="$amount") ;;
*)
    echo "usage: scripts/fuzz.sh [runs N | seconds N]" >&2
    exit 2
    ;;
esac

. scripts/install-missing.sh
install_missing clang libclang-rt-14-dev

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVENTA_FUZZ=ON \
    -DCORVENTA_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
mkdir -p "$build/findings" "$build/logs"

# One target: its new inputs go to a corpus folder in the build, the committed seeds are only read.
run_target() {
    local target=$1 name=${1#fuzz_}
    mkdir -p "$build/corpus/$name"
    if "$build/tests/fuzz/$target" "${limit[@]}" -artifact_prefix="$build/findings/$name-" -print_final_stats=1 \
        "$build/corpus/$name" "tests/fuzz/corpus/$name" >"$build/logs/$name.log" 2>&1; then
        echo "$target: $(grep -E '^#[0-9]+.*(DONE|cov:)' "$build/logs/$name.log" | tail -1)"
    else
        echo "$target: FAILED, see $build/logs/$name.log"
        tail -40 "$build/logs/$name.log"
        return 1
    fi
}

targets=()
while read -r target; do
    [[ -z "$target" ]] && continue
    if [[ -z "${FUZZ_TARGETS:-}" || " $FUZZ_TARGETS " == *" ${target#fuzz_} "* ]]; then
        targets+=("$target")
    fi
done <"$build/fuzz-targets.txt"

failed=0
pids=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
    if ((${#pids[@]} >= ${FUZZ_JOBS:-3})); then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
