#!/usr/bin/env bash
# Refreshes the README's pictures, docs/main_window.png and
# docs/list_of_windows.png: the end-to-end cycle takes them of the real
# program on the virtual display (artifacts/); they are copied from there.
# Not part of the tests: run it when the windows' looks change.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
bash scripts/install-deps.sh
bash scripts/build.sh win64
export QD_DISPLAY=${QD_DISPLAY:-:87}
pictures=(main_window list_of_windows)
for p in "${pictures[@]}"; do rm -f "artifacts/$p.png"; done
(cd build/win64 && ctest -R 'ProgramTest\.Cycle' --output-on-failure >/dev/null) \
    || { echo "pictures: the end-to-end cycle failed (cd build/win64 && ctest -R ProgramTest --output-on-failure)" >&2; exit 1; }
for p in "${pictures[@]}"; do
    [ -s "artifacts/$p.png" ] || { echo "pictures: artifacts/$p.png was not taken" >&2; exit 1; }
    cp "artifacts/$p.png" "docs/$p.png"
    echo "docs/$p.png"
done
