# Shared by run.sh and test.sh: packages, builds, the Wine prefix and the display.
# Sourced, not run. Expects ROOT (the checkout) to be set.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

PACKAGES="cmake make python3 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 googletest wine64 xvfb xauth
          x11-utils imagemagick fonts-wine fonts-liberation icoutils"

say() { echo "== $*"; }

ensure_packages() {
    local missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    say "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# build ARCH (x86_64 or i686) DIR [extra cmake args]
build() {
    local arch=$1 dir=$2
    shift 2
    mkdir -p "$dir"
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j"$(nproc)"
}

# Runs one Wine command of the prefix set-up, quietly, with its output kept in
# <prefix>.setup.log. A set-up step on a new machine now and then fails once and then
# succeeds, so each is tried three times; after the third failure the log's end is shown.
wine_setup_step() {
    local log="$WINEPREFIX.setup.log" try
    for try in 1 2 3; do
        echo "== $*" >>"$log"
        "$WINE" "$@" >>"$log" 2>&1 && return 0
        echo "Wine set-up step failed (try $try): $*" >&2
        "$WINESERVER" -k 2>/dev/null || true
    done
    tail -20 "$log" >&2
    return 1
}

# Makes or reuses a Wine prefix with a virtual desktop of 1280 x 1024.
prepare_prefix() {
    export WINEPREFIX=$1
    if [ ! -f "$WINEPREFIX/.tessaro-ready" ]; then
        say "preparing Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wine_setup_step wineboot -i
        wine_setup_step reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
        wine_setup_step reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1280x1024 /f
        # The fields' "Courier New" is not in a Wine prefix; its metric twin stands in.
        wine_setup_step reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' \
            /d 'Liberation Mono' /f
        "$WINESERVER" -w
        touch "$WINEPREFIX/.tessaro-ready"
    fi
    # Wine links the user's Desktop, Documents and the like to this machine's home folder;
    # the installer writes shortcuts there, so they become folders of the prefix instead.
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
        if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
    done
}

# Starts a private Xvfb on a free display number and exports DISPLAY.
start_private_display() {
    local n=${1:-90}
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    return 1
}

stop_private_display() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# A Windows path for a file of this machine, through Wine's Z: drive.
windows_path() { echo "Z:$(echo "$1" | sed 's#/#\\#g')"; }
