#!/bin/bash
# Measures Find All Projects and Consolidate Projects (see bench.cpp): builds the
# benchmark natively and for Windows from the program's own engines, makes its data from
# fixed seeds under build/ (removed afterwards) and prints medians and ratios. Then
# measures the board's start-up, copy, switch and working set against a plain dialog
# (see startup.cpp). Run on demand; the test script never runs it.
#   bench/run.sh [find|startup]   one part only; both by default
#   BENCH_WINE=0                  leaves out the runs under Wine (and so the start-up)
#   BENCH_RUNS=n                  starts of each program for the start-up figures (15)
#   BENCH_EARLIER=path            another KESTRUM.EXE measured in the same start-up runs
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"
OUT="$ROOT/build/bench"
mkdir -p "$OUT"
PART=${1:-all}

# The board's start-up under Wine on a private display: the release build as users get it
# where this machine runs 32-bit programs, else the 64-bit build; and a build of the same
# sources that notes the time of each start-up step.
startup_bench() {
    local arch=x86_64 loader=$WINE64
    if can_run_32bit; then
        arch=i686
        loader=$WINE32
    fi
    say "start-up: building the $arch release build and its trace build"
    build "release-$arch" "$ROOT/build/release-$arch"
    local trace="$ROOT/build/bench-trace-$arch"
    (cd "$ROOT" && cmake --preset "release-$arch" -B "$trace" -DTESSARO_STARTUP_TRACE=ON) \
        >"$trace.configure.log" 2>&1 || { cat "$trace.configure.log"; return 1; }
    cmake --build "$trace" -j"$(nproc)" --target Kestrum
    local cxx="$arch-w64-mingw32-g++-posix"
    (cd "$ROOT" && $cxx -std=c++17 -O2 -Wall -Wextra -I. -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
        -static -o "$OUT/startup.exe" bench/startup.cpp -lpsapi &&
        $cxx -std=c++17 -O2 -Wall -Wextra -I. -DWIN32_LEAN_AND_MEAN -DNOMINMAX -static \
            -mwindows -o "$OUT/startup_baseline.exe" bench/startup_baseline.cpp \
            store/project_image.cpp base/text.cpp)

    start_private_display 60
    trap finish_wine_run EXIT
    prepare_prefix "$ROOT/build/wine-bench"
    "$WINESERVER" -p # one persistent server, as in the tests: starts then take a tenth of a second
    "$WINE" cmd /c exit >/dev/null 2>&1 || true
    sleep 2 # the virtual desktop and its taskbar come up with the first program
    if [ "$arch" = x86_64 ]; then
        echo "== start-up: the x86_64 build (this machine cannot run 32-bit programs)"
    else
        echo "== start-up: the i686 release build"
    fi
    "$loader" "$OUT/startup.exe" "$(windows_path "$ROOT/build/bench-startup")" "${BENCH_RUNS:-15}" \
        "$(windows_path "$ROOT/build/release-$arch/bin/KESTRUM.EXE")" \
        "$(windows_path "$OUT/startup_baseline.exe")" \
        "$(windows_path "$trace/bin/KESTRUM.EXE")" \
        ${BENCH_EARLIER:+"$(windows_path "$BENCH_EARLIER")"}
    "$WINESERVER" -k 2>/dev/null || true
    stop_private_display
    trap - EXIT
    rm -rf "$ROOT/build/bench-startup"
}

if [ "$PART" = startup ]; then
    startup_bench
    exit 0
fi

ENGINES="store/find.cpp store/consolidate.cpp store/project_list.cpp store/project_names.cpp
         store/project_image.cpp base/text.cpp"
# shellcheck disable=SC2086
(cd "$ROOT" && g++ -std=c++17 -O2 -Wall -Wextra -I. -o "$OUT/bench" bench/bench.cpp $ENGINES)
echo "== native: $(uname -srm), $(nproc) cores; medians of repeated runs, warm file cache"
"$OUT/bench" "$ROOT/build/bench-data"

[ "${BENCH_WINE:-1}" = 0 ] && exit 0
# The program's own file code and progress display, built as the release is, run under
# Wine on a private display: the build users get where this machine runs 32-bit programs.
arch=x86_64 loader=$WINE64
if can_run_32bit; then
    arch=i686
    loader=$WINE32
fi
# shellcheck disable=SC2086
(cd "$ROOT" && $arch-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -I. \
    -DWIN32_LEAN_AND_MEAN -DNOMINMAX -static -o "$OUT/bench.exe" bench/bench.cpp $ENGINES \
    store/disk_file.cpp store/file_stamp.cpp store/consolidate_files.cpp dialogs/consolidation_counts.cpp \
    dialogs/long_run.cpp)
start_private_display 60
trap finish_wine_run EXIT
prepare_prefix "$ROOT/build/wine-bench"
echo "== under Wine ($("$WINE" --version)), the $arch build of the program's own file code; same data"
"$loader" "$OUT/bench.exe" "$(windows_path "$ROOT/build/bench-data")"
"$WINESERVER" -k 2>/dev/null || true
stop_private_display
trap - EXIT
[ "$PART" = find ] || startup_bench
