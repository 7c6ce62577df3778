#!/bin/bash
# Builds the board program with its tests for both word sizes, checks the formatting and
# runs every test under Wine on a private display: the 32-bit build first (it is what
# users get) where this machine runs 32-bit programs, then the 64-bit build. Extra
# arguments go to ctest (for example -R unit_tests). TESSARO_TEST_NAME keeps builds and
# prefixes of parallel runs apart.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"

name=${TESSARO_TEST_NAME:-test}
ensure_packages
check_format
check_layers
say "formatting matches .clang-format; includes run one way"
# The window-free logic, natively under the sanitizers: a few seconds per fuzz target. Part
# of a whole run; TESSARO_FUZZ=0 leaves it out, TESSARO_FUZZ=1 adds it to a filtered one.
fuzz_failed=""
whole_run=0
[ $# -eq 0 ] && whole_run=1
if [ "${TESSARO_FUZZ:-$whole_run}" = 1 ]; then
    say "fuzzing the window-free logic (short run; the long one: bash tests/fuzz/run.sh long)"
    FUZZ_OUT="$ROOT/build/$name-fuzz" bash "$ROOT/tests/fuzz/run.sh" short || fuzz_failed=" fuzz"
fi
build test-i686 "$ROOT/build/$name-i686"
build test-x86_64 "$ROOT/build/$name-x86_64"

suites="x86_64"
if [ -n "${TESSARO_SUITES:-}" ]; then
    suites=$TESSARO_SUITES # for example i686 alone, for a long campaign on the release build
elif can_run_32bit; then
    suites="i686 x86_64"
else
    say "this machine cannot run 32-bit programs ($WINE32 does not start): the i686 build is built but not tested, only the x86_64 suite runs"
fi

start_private_display 80
trap finish_wine_run EXIT
prepare_small_disk "$ROOT/build/$name-small-disk"
prepare_read_only_folder "$ROOT/build/$name-read-only"
prepare_prefix "$ROOT/build/wine-$name"
# One persistent server for the whole run: each program then starts in a tenth of a second.
"$WINESERVER" -p
"$WINE" cmd /c exit >/dev/null 2>&1 || true
# The virtual desktop and its taskbar come up with the first program; give them a moment.
sleep 2

failed=$fuzz_failed
for arch in $suites; do
    say "running the $arch suite"
    (cd "$ROOT/build/$name-$arch" && ctest --output-on-failure "$@") || failed="$failed $arch"
done
if [ -n "$failed" ]; then
    say "failed suites:$failed"
    exit 1
fi
say "all suites passed:" $suites
