# Shared by run.sh and test.sh: packages, builds, the Wine prefix and the display.
# Sourced, not run. Expects ROOT (the checkout) to be set.

WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINE=$WINE64 # runs the set-up steps of a prefix; the prefix then serves both word sizes
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine32:i386 is the 32-bit Wine that runs the release build; it needs the i386 architecture.
PACKAGES="cmake make python3 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 googletest wine wine64 wine32:i386
          xvfb xauth x11-utils imagemagick fonts-wine fonts-liberation icoutils liblnk-utils pev
          clang-format clang libfuzzer-14-dev libclang-rt-14-dev"

say() { echo "== $*"; }

# A mirror in the middle of a sync fails an index now and then: try again, and if one index
# still fails, go on with what arrived; the install itself says if something is missing.
update_package_lists() {
    local try
    for try in 1 2 3; do
        apt-get update -qq && return 0
        say "the package lists did not all arrive (try $try of 3)"
        [ "$try" -lt 3 ] && sleep 20
    done
    return 0
}

# The 32-bit packages come from a second set of lists. When the security lists for i386 are
# out of step, the release's own lists still carry both word sizes at one version: take the
# packages from those (the 32-bit media library named, as the resolver misses it then).
install_from_release_lists() {
    local release
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || return 1
    say "installing from the $release lists, which keep 32-bit and 64-bit packages in step"
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends --no-remove -t "$release" $1 \
        libgstreamer-plugins-base1.0-0:i386 >/dev/null
}

ensure_packages() {
    local missing=""
    for p in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    say "installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    case "$missing" in
    *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
    esac
    update_package_lists
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null && return 0
    case "$missing" in *:i386*) install_from_release_lists "$missing" && return 0 ;; esac
    # When even that fails the rest still installs, and the scripts then run the 64-bit
    # build only and say so.
    local native=""
    for p in $missing; do
        case "$p" in *:i386) ;; *) native="$native $p" ;; esac
    done
    [ "$native" = "$missing" ] && return 1
    say "the 32-bit packages could not be installed${native:+; installing the rest:$native}"
    [ -z "$native" ] && return 0
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $native >/dev/null
}

# Whether this machine runs 32-bit Windows programs: the 32-bit Wine loader must start.
# (Some kernels refuse 32-bit code altogether: "Exec format error".)
can_run_32bit() {
    "$WINE32" --version >/dev/null 2>&1
}

# build PRESET DIR: configures and builds one preset of CMakePresets.json into DIR.
build() {
    local preset=$1 dir=$2
    mkdir -p "$dir"
    (cd "$ROOT" && cmake --preset "$preset" -B "$dir") >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j"$(nproc)"
}

# Every C++ file of the tree must be as the committed .clang-format makes it.
check_format() {
    local files unformatted
    files=$(cd "$ROOT" && { git ls-files -co --exclude-standard '*.cpp' '*.h' 2>/dev/null ||
        find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print; })
    unformatted=$(cd "$ROOT" && for f in $files; do
        clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"
    done)
    if [ -n "$unformatted" ]; then
        echo "clang-format: these files are not formatted as .clang-format says" \
            "(run clang-format -i on them):" >&2
        echo "$unformatted" | sed 's/^/    /' >&2
        return 1
    fi
}

# Includes run one way: base <- settings, store, ui <- dialogs <- board; the installer uses
# ui, settings and store, never the board or its dialogs. Each folder names the folders it
# may include from; anything else fails the check with the offending lines.
check_layers() {
    local rules="base:base settings:base|settings store:base|store ui:base|ui
                 dialogs:base|store|ui|dialogs|resources installer:base|settings|store|ui|installer|resources"
    local rule folder allowed found bad=""
    for rule in $rules; do
        folder=${rule%%:*}
        allowed=${rule#*:}
        [ -d "$ROOT/$folder" ] || continue
        found=$(cd "$ROOT" && grep -rnE '#include "[a-z_]+/' "$folder" --include='*.cpp' --include='*.h' |
            grep -vE "#include \"($allowed)/" || true)
        [ -n "$found" ] && bad="$bad$found"$'\n'
    done
    if [ -n "$bad" ]; then
        echo "layers: these includes reach a layer above their own:" >&2
        printf '%s' "$bad" | sed 's/^/    /' >&2
        return 1
    fi
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

# Makes or reuses a Wine prefix with a virtual desktop of 1280 x 1024. It is a 64-bit
# prefix, which also runs 32-bit programs where 32-bit Wine is installed and can start; a
# prefix made before 32-bit Wine could start lacks the 32-bit part and is made again.
prepare_prefix() {
    export WINEPREFIX=$1
    local kind=64
    can_run_32bit && kind=32+64
    if [ -f "$WINEPREFIX/.tessaro-ready" ] && [ "$(cat "$WINEPREFIX/.tessaro-ready")" != "$kind" ]; then
        say "remaking Wine prefix $WINEPREFIX for $kind-bit programs"
        "$WINESERVER" -k 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
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
        echo "$kind" >"$WINEPREFIX/.tessaro-ready"
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
    [ -n "${XVFB_PID:-}" ] && { kill "$XVFB_PID" 2>/dev/null || true; }
    XVFB_PID=""
}

# The end of a run under Wine, passed or failed: every step is taken even where one before
# it fails (a server already gone), so that no display or mount outlives the run.
finish_wine_run() {
    WINEPREFIX=$WINEPREFIX "$WINESERVER" -k 2>/dev/null || true
    stop_private_display
    unmount_small_disk
    unmount_read_only_folder
}

# A Windows path for a file of this machine, through Wine's Z: drive.
windows_path() { echo "Z:$(echo "$1" | sed 's#/#\\#g')"; }

# A disk with room for three projects and a little more, for the test of a consolidation
# whose temporary files do not all fit. Where the system refuses to mount one, the test
# says it was skipped.
prepare_small_disk() {
    SMALL_DISK=$1
    mkdir -p "$SMALL_DISK"
    if mountpoint -q "$SMALL_DISK" ||
        mount -t tmpfs -o size=1200k tessaro-small-disk "$SMALL_DISK" 2>/dev/null; then
        export TESSARO_SMALL_DISK
        TESSARO_SMALL_DISK=$(windows_path "$SMALL_DISK")
    else
        say "no small disk could be mounted: the full-disk consolidation test is skipped"
        SMALL_DISK=""
    fi
}

# A program still ending may hold the disk a moment longer: then it is detached now and
# freed when that program is gone.
unmount_small_disk() {
    if [ -n "${SMALL_DISK:-}" ]; then
        umount "$SMALL_DISK" 2>/dev/null || umount -l "$SMALL_DISK" 2>/dev/null || true
    fi
    SMALL_DISK=""
}

# A program folder that the board sees read-only: a read-only view (bind mount) of a
# writable folder, through which the test puts the projects there. Where the system refuses
# to mount one, the fault campaign reports that part skipped.
prepare_read_only_folder() {
    READ_ONLY_DIR=$1
    mkdir -p "$READ_ONLY_DIR/source" "$READ_ONLY_DIR/view"
    if mountpoint -q "$READ_ONLY_DIR/view" ||
        { mount --bind "$READ_ONLY_DIR/source" "$READ_ONLY_DIR/view" 2>/dev/null &&
            mount -o remount,bind,ro "$READ_ONLY_DIR/view" 2>/dev/null; }; then
        export TESSARO_READ_ONLY_SOURCE TESSARO_READ_ONLY_VIEW
        TESSARO_READ_ONLY_SOURCE=$(windows_path "$READ_ONLY_DIR/source")
        TESSARO_READ_ONLY_VIEW=$(windows_path "$READ_ONLY_DIR/view")
    else
        umount "$READ_ONLY_DIR/view" 2>/dev/null || true
        say "no read-only folder could be mounted: that part of the fault campaign is skipped"
        READ_ONLY_DIR=""
    fi
}

unmount_read_only_folder() {
    if [ -n "${READ_ONLY_DIR:-}" ]; then
        umount "$READ_ONLY_DIR/view" 2>/dev/null || umount -l "$READ_ONLY_DIR/view" 2>/dev/null ||
            true
    fi
    READ_ONLY_DIR=""
}
