#!/usr/bin/env bash
# Prepares and drives the Wine environment the Windows tests run in:
# a virtual X display of 1920 x 1080, a private 64-bit prefix, and a
# persistent wineserver so that each program starts quickly.
#   wine-env.sh start         start Xvfb and the wineserver (creates the prefix once)
#   wine-env.sh stop          stop both
#   wine-env.sh run EXE ARGS  run a Windows program in that environment
#   wine-env.sh desktop KIND  restart the environment on another desktop:
#       one     one 1920 x 1080 monitor at 96 DPI (what start gives)
#       two     and a second monitor of 1280 x 1024 right of it, at 1920,0
#       left    that second monitor left of the primary, at -1280,0
#       dpi144  one 1920 x 1080 monitor at 144 DPI (150 %)
#   wine-env.sh run-on KIND EXE ARGS   run on that desktop, then back to one
#   wine-env.sh shell-standin DLL EXE   register the stand-in shell (test prefix only)
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

# The desktop the prefix and the display are set up for (one until changed).
desktop_file() { echo "$WINEPREFIX/qd-desktop"; }
current_desktop() { cat "$(desktop_file)" 2>/dev/null || echo one; }

display_up() { xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 || xset -display "$DISPLAY" q >/dev/null 2>&1; }

# Xvfb for a desktop. Two monitors are one wide screen split with xrandr;
# -noreset keeps the split when the last X client leaves.
start_display() {  # kind
    local screen=1920x1080
    case "$1" in two|left) screen=3200x1080 ;; esac
    Xvfb "$DISPLAY" -screen 0 "${screen}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    echo $! >"$(xvfb_pid_file)"
    for _ in $(seq 50); do display_up && break; sleep 0.1; done
    display_up || { echo "wine-env: Xvfb on $DISPLAY did not start" >&2; exit 1; }
    # The primary takes the output "screen": otherwise the whole screen
    # shows as a third monitor.
    case "$1" in
        two)  xrandr -d "$DISPLAY" --setmonitor QdPrimary 1920/508x1080/286+0+0 screen >/dev/null &&
              xrandr -d "$DISPLAY" --setmonitor QdSecond 1280/338x1024/270+1920+0 none >/dev/null ;;
        left) xrandr -d "$DISPLAY" --setmonitor QdPrimary 1920/508x1080/286+1280+0 screen >/dev/null &&
              xrandr -d "$DISPLAY" --setmonitor QdSecond 1280/338x1024/270+0+0 none >/dev/null ;;
    esac || { echo "wine-env: xrandr could not add the monitors of $1" >&2; exit 1; }
}

# The environment on the desktop it is set up for.
bring_up() {
    display_up || start_display "$(current_desktop)"
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

# Always the default desktop, whatever an interrupted run left.
start() {
    if [ "$(current_desktop)" = one ]; then bring_up; else desktop one; fi
}

# The stand-in shell (tests/fixture/shell_standin.h), for the test prefix
# only: its DLL serves CLSID_ShellWindows in-process, and opening a folder
# starts its folder-window program (the command of the Folder class, without
# the DDE exchange Wine's Explorer would get). Idempotent.
shell_standin() {  # dll, folder-window exe
    case "$WINEPREFIX" in
        */build/wineprefix) ;;
        *) echo "wine-env: the stand-in shell belongs to the test prefix, not $WINEPREFIX" >&2; exit 2 ;;
    esac
    [ -f "$1" ] && [ -f "$2" ] || { echo "wine-env: shell-standin DLL EXE: missing file" >&2; exit 2; }
    local dll exe reg
    # Z: is the Unix root; backslashes doubled for the .reg syntax.
    dll=$(sed 's|/|\\\\|g' <<<"Z:$(realpath "$1")")
    exe=$(sed 's|/|\\\\|g' <<<"Z:$(realpath "$2")")
    reg=$WINEPREFIX/qd-shell-standin.reg
    cat >"$reg" <<EOF
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{9BA05972-F6A8-11CF-A442-00A0C90A8F39}\\InprocServer32]
@="$dll"
"ThreadingModel"="Apartment"

[-HKEY_LOCAL_MACHINE\\Software\\Classes\\Folder\\shell\\open\\ddeexec]

[HKEY_LOCAL_MACHINE\\Software\\Classes\\Folder\\shell\\open\\command]
@="\\"$exe\\" \\"%1\\""
EOF
    "$WINE64" regedit /S "$(sed 's|/|\\|g' <<<"Z:$reg")" >/dev/null 2>&1
    "$WINE64" reg query 'HKCR\Folder\shell\open\command' /ve 2>/dev/null | grep -qF "$(basename "$2")" ||
        { echo "wine-env: the stand-in shell was not registered" >&2; exit 1; }
}

stop_server() {
    "$WINESERVER" -k >/dev/null 2>&1
    "$WINESERVER" -w >/dev/null 2>&1
}

stop() {
    stop_server
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

# The prefix's settings of a desktop. Wine sees the monitors added with
# xrandr only when it does not use XRandR itself; it honours a program's
# DPI awareness only with DpiScalingVer (without, every program counts as
# per-monitor aware).
desktop_registry() {  # kind
    local xrandr=- dpi=- scaling=-
    case "$1" in
        two|left) xrandr='"N"' ;;
        dpi144) dpi=dword:00000090; scaling=dword:00001018 ;;
    esac
    local reg=$WINEPREFIX/qd-desktop.reg
    printf '%s\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' "\"UseXRandR\"=$xrandr" '' \
        '[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=$dpi" "\"DpiScalingVer\"=$scaling" >"$reg"
    "$WINE64" regedit /S "$(sed 's|/|\\|g' <<<"Z:$reg")" >/dev/null 2>&1
}

desktop() {  # kind
    case "$1" in one|two|left|dpi144) ;; *) echo "wine-env: no desktop '$1'" >&2; exit 2 ;; esac
    [ "$(current_desktop)" = "$1" ] && display_up && return 0
    if display_up && [ ! -f "$(xvfb_pid_file)" ]; then
        echo "wine-env: $DISPLAY was not started here; its monitors cannot be changed" >&2
        exit 1
    fi
    mkdir -p "$WINEPREFIX"
    echo switching >"$(desktop_file)"  # a switch cut short is undone by the next start
    QD_XVFB_KEEP='' stop
    start_display "$1"
    bring_up
    desktop_registry "$1"
    echo "$1" >"$(desktop_file)"
    # Wine's own programs keep what they read at their start.
    stop_server
    "$WINESERVER" -p >/dev/null 2>&1 || true
}

case "${1:-}" in
    start) start ;;
    stop) stop ;;
    desktop) desktop "${2:-}" ;;
    run-on)  # kind, exe, args
        kind=${2:-}
        shift 2
        desktop "$kind"
        "$0" run "$@"
        rc=$?
        desktop one
        exit $rc
        ;;
    shell-standin) shell_standin "${2:-}" "${3:-}" ;;
    run)
        shift
        # ctest lists a rebuilt test program's tests before its set-up step
        # runs; a Wine desktop started then, without the display, would break
        # every window until the server ends.
        display_up || bring_up
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
    *) echo "usage: $0 start|stop|desktop KIND|run-on KIND EXE [ARGS]|run EXE [ARGS]|shell-standin DLL EXE|shot FILE" >&2; exit 2 ;;
esac
