#!/usr/bin/env bash
# Runs every gtest suite of a Linux build once as a whole process, in a shuffled order. ctest starts one process
# per case, so it cannot see a value that one test leaves behind for the next; this run can. The suites are the
# ones the configure listed in <build>/test-suites.txt. Each run prints its seed: rerun a failure with
#   <suite> --gtest_shuffle --gtest_random_seed=<seed>
# Usage: scripts/run-suites-shuffled.sh <build-folder>
#   CORVENTA_SHUFFLE_SEED=<n>  use this seed (1 to 99999) for every suite instead of one from the time
set -euo pipefail

build=${1:?usage: $0 <build-folder>}
list=$build/test-suites.txt
if [[ ! -s $list ]]; then
    echo "FAIL: $list is missing or empty (configure and build $build first)" >&2
    exit 1
fi

status=0
while IFS= read -r suite; do
    [[ -n $suite ]] || continue
    if [[ ! -x $suite ]]; then
        echo "FAIL: $suite is not built" >&2
        status=1
        continue
    fi
    # gtest picks a seed from the time for 0 and prints it ("random seed = n").
    log=$(mktemp)
    if "$suite" --gtest_shuffle --gtest_random_seed="${CORVENTA_SHUFFLE_SEED:-0}" \
        --gtest_color=no </dev/null >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        status=1
    fi
    seed=$(sed -n 's/^Note: Randomizing tests. orders with a seed of \([0-9]*\).*/\1/p' "$log" | head -n1)
    printf '%s: %s (shuffle seed %s)\n' "$(basename "$suite")" "$result" "${seed:-?}"
    if [[ $result == FAILED ]]; then
        cat "$log"
    fi
    rm -f "$log"
done <"$list"
exit $status
