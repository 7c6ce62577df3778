#!/bin/bash
# Builds Tessaro and starts the board program in a Wine prefix of the project's own: the
# 32-bit release build, which users get, where this machine runs 32-bit programs, else
# the 64-bit build. Without a display it uses a private Xvfb and saves a screenshot.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/common.sh"

ensure_packages
build release-i686 "$ROOT/build/release-i686"
if can_run_32bit; then
    arch=i686
    loader=$WINE32
    what="the 32-bit release build"
else
    build release-x86_64 "$ROOT/build/release-x86_64"
    arch=x86_64
    loader=$WINE64
    what="the 64-bit build: this machine cannot run 32-bit programs"
fi

prefix="$ROOT/build/wine-run"
own_display=0
if [ -z "${DISPLAY:-}" ]; then
    start_private_display 70
    own_display=1
fi
prepare_prefix "$prefix"

# The program folder as an installation leaves it.
folder="$WINEPREFIX/drive_c/Tessaro"
mkdir -p "$folder"
cp "$ROOT/build/release-$arch/bin/KESTRUM.EXE" "$folder/"
[ -f "$folder/SAMPLE.VQP" ] || cp "$ROOT/build/release-$arch/art/SAMPLE.VQP" "$folder/"
"$WINE" reg add 'HKCU\Software\Vontrel\Applications\vqp\Configure' /v ThisProgramDir \
    /d 'C:\Tessaro' /f >/dev/null 2>&1

say "starting C:\\Tessaro\\KESTRUM.EXE, $what"
if [ "$own_display" = 1 ]; then
    (cd "$folder" && "$loader" KESTRUM.EXE &)
    sleep 12
    shot="$ROOT/build/tessaro-screenshot.png"
    import -window root "$shot"
    say "screenshot of the board: $shot"
    "$WINESERVER" -k || true
    stop_private_display
else
    cd "$folder" && exec "$loader" KESTRUM.EXE
fi
