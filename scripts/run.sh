#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine:
# on your display when $DISPLAY is set, otherwise on a virtual display,
# where it saves a screenshot (artifacts/run_screenshot.png) and ends.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
bash scripts/install-deps.sh
bash scripts/build.sh program
exe=build/win64/bin/quorvel-dint.exe
echo "built: $exe (32-bit build: run scripts/build.sh for build/win32/bin/quorvel-dint.exe)"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    export QD_DISPLAY=$DISPLAY QD_XVFB_KEEP=1
    export QD_WINEPREFIX=${QD_WINEPREFIX:-$repo/build/wineprefix-run}
    tests/wine/wine-env.sh start
    tests/wine/wine-env.sh run "$exe"
else
    export QD_DISPLAY=${QD_DISPLAY:-:86}
    export QD_WINEPREFIX=${QD_WINEPREFIX:-$repo/build/wineprefix-run}
    tests/wine/wine-env.sh start
    tests/wine/wine-env.sh run "$exe" &
    for _ in $(seq 100); do
        DISPLAY=$QD_DISPLAY xwininfo -root -tree 2>/dev/null | grep -q '"Quorvel-Dint"' && break
        sleep 0.1
    done
    sleep 1
    mkdir -p artifacts
    tests/wine/wine-env.sh shot artifacts/run_screenshot.png
    echo "no display: ran on a virtual one; screenshot saved to artifacts/run_screenshot.png"
    tests/wine/wine-env.sh stop
fi
