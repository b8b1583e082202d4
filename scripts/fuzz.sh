#!/usr/bin/env bash
# Builds the libFuzzer targets (build/fuzz, clang, ASan + UBSan) and runs them.
#   fuzz.sh short            fixed budget for CI: each target for SHORT_SECONDS
#                            (default 35) on a fresh copy of the seed corpus,
#                            both targets at once (one per core)
#   fuzz.sh long [SECONDS]   each target in turn for SECONDS (default 600) with
#                            2 jobs / 2 workers; its corpus grows in
#                            build/fuzz/long/<target>/corpus across runs
#   fuzz.sh corpus           writes the seed corpus again from make_corpus
# FUZZ_TARGETS="fuzz_store_append" limits a run to the targets named.
# The committed seed corpus (tests/fuzz/corpus/profile) is only ever read.
# Ends with "fuzz: N targets, M executions, K crashes"; exits non-zero on any
# crash, sanitizer report, failed check or build failure.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
mode=${1:-short}
build=build/fuzz
seeds=tests/fuzz/corpus/profile
read -r -a targets <<<"${FUZZ_TARGETS:-fuzz_profile_reader fuzz_store_append}"
# -max_len: profiles of a few entries; larger inputs only slow the search.
common=(-max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1)

case "$mode" in
short | long | corpus) ;;
*) echo "usage: fuzz.sh short | long [SECONDS] | corpus" >&2; exit 2 ;;
esac

build_all() {
    cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD_FUZZ=ON -DQD_BUILD_TESTS=OFF >/dev/null || return 1
    cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" make_corpus >"$build.log" 2>&1 || {
        grep -E 'error|Error' "$build.log" | head -n 30
        return 1
    }
}

if ! build_all; then
    echo "fuzz: build failed"
    echo "fuzz: ${#targets[@]} targets, 0 executions, 1 crashes"
    exit 1
fi

if [ "$mode" = corpus ]; then
    rm -f "$seeds"/*
    mkdir -p "$seeds"
    "$build/make_corpus" "$seeds"
    exit $?
fi

crashes=0
execs=0
failures=0  # anything else that must fail the run

# The committed seeds must be what the generator writes today.
fresh=$(mktemp -d "$repo/$build/seeds.XXXXXX")
"$build/make_corpus" "$fresh" >/dev/null
if ! diff -rq "$seeds" "$fresh" >/dev/null; then
    echo "fuzz: $seeds differs from make_corpus output (run scripts/fuzz.sh corpus):"
    diff -rq "$seeds" "$fresh" | head -n 10
    failures=$((failures + 1))
fi
rm -rf "$fresh"

# Sums the executions of the logs given (libFuzzer's final stats, printed
# on a crash too) and counts the findings; prints one line.
tally() {  # target, dir of artifacts, logs...
    local t=$1 art=$2; shift 2
    local n=0 f runs found reports
    for f in "$@"; do
        runs=$(grep -oE '^stat::number_of_executed_units: [0-9]+' "$f" | awk '{s += $2} END {print s + 0}')
        n=$((n + runs))
    done
    found=$(find "$art" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    reports=$(cat "$@" | grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|check failed at line')
    echo "  $t: $n executions, $found crash inputs, $reports sanitizer/check reports"
    if [ "$found" -gt 0 ] || [ "$reports" -gt 0 ]; then
        find "$art" -type f | sed "s|^|    input (replay: $build/$t FILE): |"
        grep -m 5 -hE -A 12 'ERROR: |runtime error:|check failed at line' "$@" | sed 's/^/    /' | head -n 40
        [ "$found" -eq 0 ] && found=1
    fi
    execs=$((execs + n))
    crashes=$((crashes + found))
}

if [ "$mode" = short ]; then
    secs=${SHORT_SECONDS:-35}
    work="$build/short"
    rm -rf "$work"
    pids=()
    for t in "${targets[@]}"; do
        mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
        cp "$seeds"/* "$work/$t/corpus/"
        "$build/$t" "${common[@]}" -max_total_time="$secs" -artifact_prefix="$work/$t/artifacts/" \
            "$work/$t/corpus" >"$work/$t/log" 2>&1 &
        pids+=($!)
    done
    rcs=()
    for pid in "${pids[@]}"; do
        wait "$pid"
        rcs+=($?)
    done
    i=0
    for t in "${targets[@]}"; do
        tally "$t" "$work/$t/artifacts" "$work/$t/log"
        if [ "${rcs[$i]}" -ne 0 ]; then
            echo "  $t: exit code ${rcs[$i]} (log: $work/$t/log)"
            [ -n "$(find "$work/$t/artifacts" -type f)" ] || failures=$((failures + 1))
        fi
        i=$((i + 1))
    done
else
    secs=${2:-600}
    for t in "${targets[@]}"; do
        dir="$build/long/$t"
        mkdir -p "$dir/corpus" "$dir/artifacts"
        cp -n "$seeds"/* "$dir/corpus/"
        rm -f "$dir"/fuzz-*.log
        echo "  $t: $secs s, 2 jobs on 2 workers, corpus $dir/corpus ($(ls "$dir/corpus" | wc -l) files)"
        # Each job runs the full time; with -jobs the logs go to fuzz-<n>.log
        # in the working directory.
        (cd "$dir" && "$repo/$build/$t" "${common[@]}" -max_total_time="$secs" -jobs=2 -workers=2 \
            -artifact_prefix="$repo/$dir/artifacts/" "$repo/$dir/corpus" >"$repo/$dir/log" 2>&1)
        tally "$t" "$dir/artifacts" "$dir"/fuzz-*.log
        echo "  $t: corpus now $(ls "$dir/corpus" | wc -l) files, $(find "$dir/corpus" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}') bytes"
    done
fi

[ "$failures" -eq 0 ] || echo "fuzz: $failures other failures (above)"
echo "fuzz: ${#targets[@]} targets, $execs executions, $crashes crashes"
[ "$crashes" -eq 0 ] && [ "$failures" -eq 0 ]
