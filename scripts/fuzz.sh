#!/usr/bin/env bash
# Builds the libFuzzer target (build/fuzz, clang, ASan + UBSan) and runs it.
#   fuzz.sh short            fixed budget for CI: SHORT_SECONDS (default 35)
#                            on a fresh copy of the seed corpus
#   fuzz.sh long [SECONDS]   SECONDS (default 600) with 2 jobs / 2 workers;
#                            the corpus grows in build/fuzz/long/corpus across runs
# The committed seed corpus (tests/fuzz/corpus/profile) is only ever read.
# Ends with "fuzz: 1 targets, M executions, K crashes"; exits non-zero on any
# crash, sanitizer report, failed check or build failure.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
mode=${1:-short}
build=build/fuzz
seeds=tests/fuzz/corpus/profile
target=fuzz_profile
# -max_len: profiles of a few entries; larger inputs only slow the search.
common=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

case "$mode" in
short | long) ;;
*) echo "usage: fuzz.sh short | long [SECONDS]" >&2; exit 2 ;;
esac

mkdir -p "$build"
if ! { cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD_FUZZ=ON -DQD_BUILD_TESTS=OFF >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target "$target" >"$build.log" 2>&1; }; then
    grep -E 'error|Error' "$build.log" | head -n 30
    echo "fuzz: build failed"
    echo "fuzz: 1 targets, 0 executions, 1 crashes"
    exit 1
fi

if [ "$mode" = short ]; then
    dir="$build/short"
    rm -rf "$dir"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    cp "$seeds"/* "$dir/corpus/"
    "$build/$target" "${common[@]}" -max_total_time="${SHORT_SECONDS:-35}" -artifact_prefix="$dir/artifacts/" \
        "$dir/corpus" >"$dir/log" 2>&1
    rc=$?
    logs=("$dir/log")
else
    dir="$build/long"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    cp -n "$seeds"/* "$dir/corpus/"
    rm -f "$dir"/fuzz-*.log
    echo "  $target: ${2:-600} s, 2 jobs on 2 workers, corpus $dir/corpus ($(ls "$dir/corpus" | wc -l) files)"
    # Each job runs the full time; with -jobs the logs go to fuzz-<n>.log in
    # the working directory.
    (cd "$dir" && "$repo/$build/$target" "${common[@]}" -max_total_time="${2:-600}" -jobs=2 -workers=2 \
        -artifact_prefix="$repo/$dir/artifacts/" "$repo/$dir/corpus" >"$repo/$dir/log" 2>&1)
    rc=$?
    logs=("$dir"/fuzz-*.log)
fi

# libFuzzer's final stats (printed on a crash too) give the executions.
execs=$(cat "${logs[@]}" | grep -oE '^stat::number_of_executed_units: [0-9]+' | awk '{s += $2} END {print s + 0}')
found=$(find "$dir/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
reports=$(cat "${logs[@]}" | grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|check failed at line')
echo "  $target: $execs executions, $found crash inputs, $reports sanitizer/check reports"
if [ "$found" -gt 0 ] || [ "$reports" -gt 0 ] || [ "$rc" -ne 0 ]; then
    find "$dir/artifacts" -type f | sed "s|^|    input (replay: $build/$target FILE): |"
    grep -m 5 -hE -A 12 'ERROR: |runtime error:|check failed at line' "${logs[@]}" | sed 's/^/    /' | head -n 40
    [ "$rc" -ne 0 ] && echo "  $target: exit code $rc (log: $dir/log)"
    [ "$found" -eq 0 ] && found=1
fi
[ "$mode" = long ] && echo "  $target: corpus now $(ls "$dir/corpus" | wc -l) files"
echo "fuzz: 1 targets, $execs executions, $found crashes"
[ "$found" -eq 0 ]
