#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test level:
#   1. native unit tests of the portable core,
#   2. the same under AddressSanitizer + UndefinedBehaviorSanitizer,
#   3. a short fuzzing run of the profile reader and the store (clang, libFuzzer),
#   4. Win32 tests and end-to-end tests of the x86_64 build under Wine
#      (the i686 build is compiled; this machine cannot run 32-bit programs).
# Ends with a line "N passed, N failed".
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
t0=$(date +%s)

bash scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }
if ! bash scripts/build.sh all; then
    echo "build failed"
    echo "0 passed, 1 failed"
    exit 1
fi

mkdir -p artifacts build/logs
export QD_DISPLAY=${QD_DISPLAY:-:87}
tests/wine/wine-env.sh start

passed=0; failed=0
run_level() {  # name, build dir
    local name=$1 dir=$2 log=build/logs/$1.log
    echo "== $name"
    (cd "$dir" && ctest --output-on-failure --timeout 300) >"$log" 2>&1
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$line" ]; then
        echo "   no ctest summary (see $log)"; tail -n 20 "$log"; failed=$((failed + 1)); return
    fi
    local total f
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    f=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - f)); failed=$((failed + f))
    echo "   $line"
    [ "$f" -ne 0 ] && sed -n '/The following tests FAILED/,$p' "$log"
}

run_level native build/native
run_level sanitizers build/asan

# A short fuzzing run of the profile reader and the loaded-profile store.
echo "== fuzz"
if bash scripts/fuzz.sh short >build/logs/fuzz.log 2>&1; then
    n=$(grep -E '^fuzz: [0-9]+ targets' build/logs/fuzz.log | tail -n 1 | sed -E 's/^fuzz: ([0-9]+) targets.*/\1/')
    passed=$((passed + ${n:-0}))
else
    failed=$((failed + 1))
    tail -n 30 build/logs/fuzz.log
fi
echo "   $(grep -E '^fuzz: ' build/logs/fuzz.log | tail -n 1)"
run_level wine build/win64
tests/wine/wine-env.sh stop

echo "wall time: $(( $(date +%s) - t0 )) s; screenshots in artifacts/"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
