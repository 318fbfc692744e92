# Sourced by the scripts: a private X display and a private Wine prefix with a virtual desktop.
# Everything started here is stopped by velumar_stop_wine_env.

VELUMAR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VELUMAR_WINE_DIR=${VELUMAR_WINE_DIR:-$VELUMAR_ROOT/build/wine}
VELUMAR_XVFB_PID=

# Starts Xvfb on a free display number and exports DISPLAY; a screen size (default 1280x1024x24)
# and further Xvfb options may follow.
velumar_start_xvfb() {
    local geometry=${1:-1280x1024x24}
    shift || true
    mkdir -p "$VELUMAR_WINE_DIR"
    local fifo="$VELUMAR_WINE_DIR/display.$$"
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp "$@" 3>"$fifo" >/dev/null 2>&1 &
    VELUMAR_XVFB_PID=$!
    local number
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}

# Runs a Wine tool without letting Wine's background services hold our output pipes.
velumar_wine_quiet() {
    wine "$@" </dev/null >/dev/null 2>&1
}

# Makes (once) a booted template prefix. It has its own HOME (so its Documents folder is not
# the real user's), no crash dialog, and a 1024x768 virtual desktop with taskbar for every program.
velumar_make_template() {
    local template="$VELUMAR_WINE_DIR/template"
    [ "$(cat "$template/.velumar-ready" 2>/dev/null)" = 2 ] && return 0
    rm -rf "$template"
    mkdir -p "$template/home"
    (
        export HOME="$template/home" WINEPREFIX="$template/prefix"
        wineboot -i </dev/null >/dev/null 2>&1
        velumar_wine_quiet reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        velumar_wine_quiet reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f
        velumar_wine_quiet reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f
        wineserver -w
    )
    # Wine links Documents, Desktop and the other shell folders to $HOME. Copies of the template
    # would all share that one folder, so each prefix gets folders of its own instead.
    local link
    for link in "$template"/prefix/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm "$link"
            mkdir "$link"
        fi
    done
    echo 2 >"$template/.velumar-ready"
}

# Uses the prefix NAME under the Wine folder, made from the template; "fresh" makes it anew.
velumar_use_prefix() {
    local name=$1 mode=${2:-keep}
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    velumar_make_template
    local dir="$VELUMAR_WINE_DIR/$name"
    # A prefix not copied from the template (Wine makes one by itself when any program runs
    # first) lacks the virtual desktop: make it anew.
    if [ "$mode" = fresh ] || [ ! -f "$dir/.velumar-prefix" ]; then
        rm -rf "$dir"
        # A hard-linked clone takes no room of its own. Wine replaces its registry files when
        # it saves them, but rewrites .ini files in place: those get copies of their own, so
        # nothing a test does reaches the template.
        cp -al "$VELUMAR_WINE_DIR/template" "$dir"
        find "$dir" -type f \( -name '*.ini' -o -name '*.reg' \) -exec sh -c \
            'for f; do cp -p "$f" "$f.copy" && mv -f "$f.copy" "$f"; done' sh {} +
        rm -f "$dir/.velumar-ready"
        touch "$dir/.velumar-prefix"
    fi
    export HOME="$dir/home"
    export WINEPREFIX="$dir/prefix"
    # Start the server and Wine's services once, detached from our pipes, so that the
    # test runner does not wait for them.
    wineserver -p
    velumar_wine_quiet cmd /c exit
}

velumar_stop_wine_env() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "$VELUMAR_XVFB_PID" ]; then
        kill "$VELUMAR_XVFB_PID" >/dev/null 2>&1 || true
        wait "$VELUMAR_XVFB_PID" 2>/dev/null || true
        VELUMAR_XVFB_PID=
    fi
}
