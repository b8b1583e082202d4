#!/usr/bin/env bash
# Prepares and drives the Wine environment the Windows tests run in:
# a virtual X display of 1920 x 1080, a private 64-bit prefix, and a
# persistent wineserver so that each program starts quickly.
#   wine-env.sh start         start Xvfb and the wineserver (creates the prefix once)
#   wine-env.sh stop          stop both
#   wine-env.sh run EXE ARGS  run a Windows program in that environment
#   wine-env.sh shot FILE     save a screenshot of the whole virtual screen (PNG)
# Environment: QD_WINEPREFIX (default <repo>/build/wineprefix), QD_DISPLAY (default :87).
set -u
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
export WINEPREFIX=${QD_WINEPREFIX:-$repo/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=${QD_DISPLAY:-:87}
WINE64=${QD_WINE64:-/usr/lib/wine/wine64}
# Debian's wine64 package puts the server beside the loader; it is on PATH
# only when the wine package is installed too.
WINESERVER=$(dirname "$WINE64")/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo wineserver)
xvfb_pid_file() { echo "${TMPDIR:-/tmp}/qd-xvfb-${DISPLAY#:}.pid"; }

display_up() { xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 || xset -display "$DISPLAY" q >/dev/null 2>&1; }

start() {
    if ! display_up; then
        Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
        echo $! >"$(xvfb_pid_file)"
        for _ in $(seq 50); do display_up && break; sleep 0.1; done
        display_up || { echo "wine-env: Xvfb on $DISPLAY did not start" >&2; exit 1; }
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE64" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
    fi
    local fonts=$WINEPREFIX/drive_c/windows/Fonts
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$fonts/marlett.ttf" ]; then
        # Debian's Wine does not load fonts-wine's fonts from its data folder;
        # Marlett (the caption buttons) is found in the prefix's Fonts folder.
        mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        # Without a window manager every hide waits ~2 s; unmanaged windows close at once.
        "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    fi
    if ! grep -q 'AeDebug' "$WINEPREFIX/system.reg" 2>/dev/null || grep -A3 'AeDebug' "$WINEPREFIX/system.reg" | grep -q winedbg; then
        # A crashing test ends at once instead of waiting in the debugger.
        "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
        "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f >/dev/null 2>&1
    fi
    "$WINESERVER" -p >/dev/null 2>&1 || true  # already running is fine
}

stop() {
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
    if [ -n "${QD_XVFB_KEEP:-}" ]; then return 0; fi
    # Only the Xvfb this script started, by its pid.
    local f
    f=$(xvfb_pid_file)
    if [ -f "$f" ]; then
        local pid
        pid=$(cat "$f")
        kill "$pid" >/dev/null 2>&1 || true
        # Gone before returning: a start right after must not find it answering.
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        rm -f "$f"
    fi
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    run)
        shift
        # Wine's own services (and programs a test starts) outlive the program
        # and inherit its output; through a file, the caller's pipe closes
        # when the program ends.
        out=$(mktemp)
        "$WINE64" "$@" >"$out" 2>&1 </dev/null
        rc=$?
        cat "$out"
        rm -f "$out"
        exit $rc
        ;;
    shot) import -window root -display "$DISPLAY" "$2" ;;
    *) echo "usage: $0 start|stop|run EXE [ARGS]|shot FILE" >&2; exit 2 ;;
esac
