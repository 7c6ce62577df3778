#!/bin/bash
# Measures Find All Projects and Consolidate Projects (see bench.cpp): builds the
# benchmark natively and for Windows from the program's own engines, makes its data from
# fixed seeds under build/ (removed afterwards) and prints medians and ratios. Run on
# demand; the test script never runs it. BENCH_WINE=0 leaves out the run under Wine.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"
OUT="$ROOT/build/bench"
mkdir -p "$OUT"

ENGINES="store/find.cpp store/consolidate.cpp store/project_list.cpp store/project_names.cpp
         store/project_image.cpp base/text.cpp"
# shellcheck disable=SC2086
(cd "$ROOT" && g++ -std=c++17 -O2 -Wall -Wextra -I. -o "$OUT/bench" bench/bench.cpp $ENGINES)
echo "== native: $(uname -srm), $(nproc) cores; medians of repeated runs, warm file cache"
"$OUT/bench" "$ROOT/build/bench-data"

[ "${BENCH_WINE:-1}" = 0 ] && exit 0
# The program's own file code, built as the release is, run under Wine.
# shellcheck disable=SC2086
(cd "$ROOT" && x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -Wall -Wextra -I. \
    -DWIN32_LEAN_AND_MEAN -DNOMINMAX -static -o "$OUT/bench.exe" bench/bench.cpp $ENGINES \
    store/disk_file.cpp store/consolidate_files.cpp)
prepare_prefix "$ROOT/build/wine-bench"
echo "== under Wine ($("$WINE" --version)), the program's own file code; same data"
"$WINE" "$OUT/bench.exe" "$(windows_path "$ROOT/build/bench-data")"
"$WINESERVER" -k 2>/dev/null || true
