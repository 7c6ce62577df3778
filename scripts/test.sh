#!/bin/bash
# Builds both programs for both word sizes and runs every test under Wine on a private
# display. Extra arguments go to ctest (for example -R unit_tests).
# TESSARO_TEST_NAME keeps builds and prefixes of parallel runs apart.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"

name=${TESSARO_TEST_NAME:-test}
ensure_packages
# The 32-bit release build must compile cleanly; this machine cannot run it.
build i686 "$ROOT/build/i686" -DTESSARO_TESTS=OFF
build x86_64 "$ROOT/build/$name-x86_64"

start_private_display 80
trap 'WINEPREFIX=$WINEPREFIX "$WINESERVER" -k 2>/dev/null; stop_private_display; unmount_small_disk' EXIT
prepare_small_disk "$ROOT/build/$name-small-disk"
prepare_prefix "$ROOT/build/wine-$name"
# One persistent server for the whole run: each program then starts in a tenth of a second.
"$WINESERVER" -p
"$WINE" cmd /c exit >/dev/null 2>&1 || true
# The virtual desktop and its taskbar come up with the first program; give them a moment.
sleep 2

cd "$ROOT/build/$name-x86_64"
ctest --output-on-failure "$@"
