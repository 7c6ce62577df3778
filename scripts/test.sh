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
build test-i686 "$ROOT/build/$name-i686"
build test-x86_64 "$ROOT/build/$name-x86_64"

suites="x86_64"
if can_run_32bit; then
    suites="i686 x86_64"
else
    say "this machine cannot run 32-bit programs ($WINE32 does not start): the i686 build is built but not tested, only the x86_64 suite runs"
fi

start_private_display 80
trap 'WINEPREFIX=$WINEPREFIX "$WINESERVER" -k 2>/dev/null; stop_private_display; unmount_small_disk; unmount_read_only_folder' EXIT
prepare_small_disk "$ROOT/build/$name-small-disk"
prepare_read_only_folder "$ROOT/build/$name-read-only"
prepare_prefix "$ROOT/build/wine-$name"
# One persistent server for the whole run: each program then starts in a tenth of a second.
"$WINESERVER" -p
"$WINE" cmd /c exit >/dev/null 2>&1 || true
# The virtual desktop and its taskbar come up with the first program; give them a moment.
sleep 2

failed=""
for arch in $suites; do
    say "running the $arch suite"
    (cd "$ROOT/build/$name-$arch" && ctest --output-on-failure "$@") || failed="$failed $arch"
done
if [ -n "$failed" ]; then
    say "failed suites:$failed"
    exit 1
fi
say "all suites passed:" $suites
