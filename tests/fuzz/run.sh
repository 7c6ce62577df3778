#!/bin/bash
# Fuzzes the window-free logic with libFuzzer under the address and undefined-behaviour
# sanitizers: builds the targets of CMakeLists.txt here natively with clang, then runs
# each target from its seeds in seeds/<target>/.
#
#   bash tests/fuzz/run.sh [short|long] [target...]
#
# short (the test command's run): each target for FUZZ_SECONDS seconds (default 3) with a
#       fixed seed, from the seeds alone; what it finds is thrown away.
# long  (on demand): FUZZ_RUNS executions per target (default 10,000,000), one target after
#       the other, each stopped after FUZZ_MAX_SECONDS if that is set; the inputs found are
#       kept in build/fuzz/corpus/<target> for the next run.
# A failed property, a crash or a sanitizer report stops that target; the input is kept as
# build/fuzz/artifacts/<target>-crash-* and the end of the log is shown. Replay it with
#   build/fuzz/bin/<target>_fuzz <input>
# The table at the end gives executions and time per target; the script fails if any
# target did.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=${FUZZ_OUT:-$ROOT/build/fuzz}
mode=${1:-short}
shift || true
case "$mode" in
short | long) ;;
*)
    echo "usage: $0 [short|long] [target...]" >&2
    exit 2
    ;;
esac

# Quietly, unless it fails.
mkdir -p "$OUT/logs" "$OUT/artifacts"
if ! { cmake -S "$ROOT/tests/fuzz" -B "$OUT/cmake" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$OUT/bin" &&
    cmake --build "$OUT/cmake" -j"$(nproc)"; } >"$OUT/logs/build.log" 2>&1; then
    tail -40 "$OUT/logs/build.log" >&2
    echo "fuzz: the native build failed (log: $OUT/logs/build.log)" >&2
    exit 1
fi

if [ $# -gt 0 ]; then
    targets="$*"
else
    targets=$(cat "$OUT/cmake/targets.txt" | tr ';' ' ')
fi

seed=${FUZZ_SEED:-1}
printf '%-16s %12s %9s %10s  %s\n' target executions seconds "exec/s" result
failed=""
for target in $targets; do
    binary="$OUT/bin/${target}_fuzz"
    seeds="$ROOT/tests/fuzz/seeds/$target"
    log="$OUT/logs/$target.$mode.log"
    [ -x "$binary" ] || { echo "fuzz: no target $target" >&2; exit 2; }
    [ -d "$seeds" ] || { echo "fuzz: no seeds for $target in $seeds" >&2; exit 2; }
    if [ "$mode" = short ]; then
        corpus="$OUT/short/$target"
        rm -rf "$corpus" && mkdir -p "$corpus"
        limit="-max_total_time=${FUZZ_SECONDS:-3}"
    else
        corpus="$OUT/corpus/$target"
        mkdir -p "$corpus"
        limit="-runs=${FUZZ_RUNS:-10000000}"
        [ -n "${FUZZ_MAX_SECONDS:-}" ] && limit="$limit -max_total_time=$FUZZ_MAX_SECONDS"
    fi
    start=$(date +%s.%N)
    result=ok
    # New inputs go to the first folder; the seeds in the tree are only read.
    # shellcheck disable=SC2086
    "$binary" -seed="$seed" $limit -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$OUT/artifacts/$target-" "$corpus" "$seeds" >"$log" 2>&1 ||
        result=FAILED
    end=$(date +%s.%N)
    [ "$mode" = short ] && rm -rf "$corpus"
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
    rate=$(awk -v n="${runs:-0}" -v s="$seconds" 'BEGIN { printf "%d", (s > 0 ? n / s : 0) }')
    printf '%-16s %12s %9s %10s  %s\n' "$target" "${runs:-?}" "$seconds" "$rate" "$result"
    if [ "$result" != ok ]; then
        failed="$failed $target"
        echo "---- end of $log" >&2
        grep -v '^#[0-9]' "$log" | tail -40 >&2
        echo "----" >&2
    fi
done
if [ -n "$failed" ]; then
    echo "fuzz: failed:$failed (inputs in $OUT/artifacts)" >&2
    exit 1
fi
