#!/usr/bin/env bash
# Runs one-line mutants of the product against the test levels and records
# which of them the suite catches. Not part of the test command or CI.
#
#   tests/mutants/run.sh [--label NAME] [--no-baseline] [--clean] [ID ...]
#
#   ID ...         only these mutants (default: every mutant in mutants.txt)
#   --label NAME   results go to tests/mutants/results-NAME.txt
#                  (default: the short commit hash, "-dirty" with local changes)
#   --no-baseline  skip the run of the unchanged code first
#   --check        only tell whether each mutant's line applies; build nothing
#   --clean        remove the scratch copy and its builds, then exit
#
# Environment:
#   QD_MUTANTS_DISPLAY  X display of its own Wine environment (default :95)
#   QD_MUTANTS_DIR      scratch folder (default ${TMPDIR:-/tmp}/qd-mutants-<worktree name>)
#   QD_MUTANTS_JOBS     build jobs (default 2)
#
# The mutants are applied in a copy of the working tree under the scratch
# folder, never in the tree itself; the copy keeps its build folders
# between runs, so each mutant rebuilds only what it touches.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
list=$here/mutants.txt
scratch=${QD_MUTANTS_DIR:-${TMPDIR:-/tmp}/qd-mutants-$(basename "$repo")}
src=$scratch/src
logs=$scratch/logs
jobs=${QD_MUTANTS_JOBS:-2}
export QD_DISPLAY=${QD_MUTANTS_DISPLAY:-:95}
unset QD_WINEPREFIX  # its own prefix, in the scratch copy's build folder

label=""
baseline=1
check=0
clean=0
ids=()
while [ $# -gt 0 ]; do
    case "$1" in
        --label) label=$2; shift 2 ;;
        --no-baseline) baseline=0; shift ;;
        --check) check=1; shift ;;
        --clean) clean=1; shift ;;
        -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
        -*) echo "unknown option $1" >&2; exit 2 ;;
        *) ids+=("$1"); shift ;;
    esac
done
if [ -z "$label" ]; then
    label=$(git -C "$repo" rev-parse --short HEAD)
    [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ] && label=$label-dirty
fi
results=$here/results-$label.txt

# ---- the mutant list ---------------------------------------------------------
# Blocks of four lines:  "M01 path"  "- original"  "+ replacement"  "? notice".
M_ID=(); M_FILE=(); M_ORIG=(); M_REPL=(); M_NOTE=()
parse_list() {
    local line n=-1
    while IFS= read -r line || [ -n "$line" ]; do
        case "$line" in
            M[0-9]*) n=$((n + 1)); M_ID[n]=${line%% *}; M_FILE[n]=${line#* }; M_ORIG[n]=""; M_REPL[n]=""; M_NOTE[n]="" ;;
            "- "*) M_ORIG[n]=${line:2} ;;
            "+ "*) M_REPL[n]=${line:2} ;;
            "? "*) M_NOTE[n]=${line:2} ;;
        esac
    done <"$list"
}

# ---- the scratch copy ----------------------------------------------------------
# Tracked and untracked (not ignored) files of the working tree; a file is
# copied only when its content differs, so unchanged files keep their times
# and the builds stay incremental.
sync_copy() {
    mkdir -p "$src" "$logs"
    local want=$scratch/files.lst have=$scratch/have.lst f
    (cd "$repo" && git ls-files -co --exclude-standard | sort) >"$want"
    while IFS= read -r f; do
        [ -f "$repo/$f" ] || continue
        if ! cmp -s "$repo/$f" "$src/$f"; then
            mkdir -p "$(dirname "$src/$f")"
            cp "$repo/$f" "$src/$f"
        fi
    done <"$want"
    (cd "$src" && find . -path ./build -prune -o -path ./artifacts -prune -o -type f -print | sed 's|^\./||' | sort) >"$have"
    comm -13 "$want" "$have" | while IFS= read -r f; do rm -f "$src/$f"; done
}

configure() {  # build dir, cmake args...
    local dir=$1; shift
    [ -f "$src/$dir/CMakeCache.txt" ] && return 0
    cmake -S "$src" -B "$src/$dir" "$@" >"$logs/configure-${dir##*/}.log" 2>&1
}

configure_all() {
    configure build/native -DCMAKE_BUILD_TYPE=Release &&
        configure build/asan -DQD_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug &&
        configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
}

wine_env() { "$src/tests/wine/wine-env.sh" "$1" >/dev/null 2>&1; }

# Stops the Wine environment and waits until it is gone: a display or a
# server still on its way down would be taken over by the next start and
# vanish under the first test.
wine_stop() {
    wine_env stop
    local server
    server=$(dirname "${QD_WINE64:-/usr/lib/wine/wine64}")/wineserver
    [ -x "$server" ] || server=$(command -v wineserver || echo wineserver)
    WINEPREFIX=$src/build/wineprefix timeout 20 "$server" -w >/dev/null 2>&1
    local n
    for n in $(seq 100); do
        xdpyinfo -display "$QD_DISPLAY" >/dev/null 2>&1 || xset -display "$QD_DISPLAY" q >/dev/null 2>&1 || return 0
        sleep 0.1
    done
}

# A clean environment for a Wine level: what an earlier run left is
# stopped, then Wine is started and its own services brought up by one
# small program, so the first test does not race them.
wine_fresh() {
    wine_stop
    wine_env start
    "$src/tests/wine/wine-env.sh" run cmd /c exit >/dev/null 2>&1
}

# ---- one level ---------------------------------------------------------------------
# Builds the level's folder and runs its ctest up to the first failing test.
# Sets LEVEL_RESULT to pass | fail | unsure | build | error, LEVEL_TEST,
# and LEVEL_NOTE for a pass that came after a flaky failure.
LEVEL_RESULT=""; LEVEL_TEST=""; LEVEL_NOTE=""
run_level() {  # tag, level (native|asan|win64)
    local tag=$1 level=$2 log=$logs/$1-$2.log dir=$src/build/$2
    LEVEL_RESULT=""; LEVEL_TEST=""; LEVEL_NOTE=""
    if ! cmake --build "$dir" -j"$jobs" >"$log.build" 2>&1; then
        LEVEL_RESULT=build; return
    fi
    [ "$level" = win64 ] || { run_ctest "$level" "$dir" "$log"; return; }
    # A Wine failure counts only when the same test fails in two runs of the
    # whole level: a test can be flaky, and run alone it can miss what the
    # tests before it brought up (Wine's desktop process, for one). A level
    # that passes once passes: the fault did not stop it.
    local attempt name seen=""
    for attempt in 1 2 3; do
        run_ctest "$level" "$dir" "$log"
        case "$LEVEL_RESULT" in
            pass)
                [ -n "$seen" ] && LEVEL_NOTE="flaky: $(echo $seen) failed once, then the level passed"
                return ;;
            fail) ;;
            *) return ;;
        esac
        name=${LEVEL_TEST%% *}
        printf '%s\n' $seen | grep -qxF "$name" && return
        seen="$seen $name"
        cp "$log" "$log.$attempt"
    done
    LEVEL_RESULT=unsure
    LEVEL_TEST="a different test failed in each of three runs:$seen"
}

# One ctest run of a built level up to its first failing test; sets
# LEVEL_RESULT (pass | fail | error) and LEVEL_TEST.
run_ctest() {  # level, build dir, log
    local level=$1 dir=$2 log=$3
    local ctest_args=(--stop-on-failure --output-on-failure)
    [ "$level" = win64 ] || ctest_args+=(--timeout 120)
    # Programs left by an earlier run must not stand in for this one's.
    [ "$level" = win64 ] && wine_fresh
    (cd "$dir" && ctest "${ctest_args[@]}") >"$log" 2>&1
    local rc=$?
    [ "$level" = win64 ] && wine_stop
    if [ $rc -eq 0 ] && grep -qE '100% tests passed' "$log"; then
        LEVEL_RESULT=pass; LEVEL_TEST=""; return
    fi
    local first
    first=$(sed -n '/The following tests FAILED:/,$p' "$log" | grep -m1 -E '^\s*[0-9]+ - ' |
            sed -E 's/^\s*[0-9]+ - //')
    if [ -z "$first" ]; then
        first=$(grep -m1 -E 'Test +#[0-9]+: .*(\*\*\*|Not Run)' "$log" | sed -E 's/.*Test +#[0-9]+: +([^ ]+).*/\1/')
    fi
    LEVEL_TEST=${first:-"(no failing test named, see $log)"}
    case "$first" in
        wine_env_start*|wine_env_stop*|"") LEVEL_RESULT=error ;;
        *) LEVEL_RESULT=fail ;;
    esac
}

levels_for() {  # file
    case "$1" in
        core/*) echo "native asan win64" ;;
        *) echo "win64" ;;
    esac
}

# ---- one mutant -----------------------------------------------------------------------
# Writes the mutated file to stdout; exit 0 when the stripped original occurs
# on exactly one line, 1 when on none, 2 when on several.
mutate() {  # original, replacement, file
    ORIG=$1 REPL=$2 awk '
        function strip(s) { sub(/^[ \t]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
        BEGIN { o = strip(ENVIRON["ORIG"]); r = strip(ENVIRON["REPL"]); n = 0 }
        {
            if (strip($0) == o) {
                n++
                match($0, /^[ \t]*/)
                print substr($0, 1, RLENGTH) r
            } else print
        }
        END { exit n == 1 ? 0 : (n == 0 ? 1 : 2) }' "$3"
}

R_ID=(); R_RESULT=(); R_LEVEL=(); R_TEST=(); R_SECS=()
current_file=""; current_saved=""
restore_current() {
    if [ -n "$current_file" ]; then
        # A fresh time on purpose: the objects built from the mutant are newer
        # than the original's own time, and must be rebuilt.
        cat "$current_saved" >"$current_file"
        current_file=""
    fi
}

run_mutant() {  # index
    local i=$1 id=${M_ID[$1]} file=${M_FILE[$1]} t0=$SECONDS
    local target=$src/$file saved=$scratch/saved.tmp result level="" test=""
    printf '%-4s %-48s ' "$id" "$file"
    if [ ! -f "$target" ] || [ -z "${M_ORIG[i]}" ] || [ -z "${M_REPL[i]}" ]; then
        result="not applied"
    else
        cp "$target" "$saved"
        if mutate "${M_ORIG[i]}" "${M_REPL[i]}" "$saved" >"$scratch/mutated.tmp"; then
            current_file=$target; current_saved=$saved
            cat "$scratch/mutated.tmp" >"$target"
            result=survived
            local note=""
            for level in $(levels_for "$file"); do
                run_level "$id" "$level"
                case "$LEVEL_RESULT" in
                    pass) [ -n "$LEVEL_NOTE" ] && note="($LEVEL_NOTE)" ;;
                    fail) result=caught; test=$LEVEL_TEST; break ;;
                    build) result="build failed"; test="see $logs/$id-$level.log.build"; break ;;
                    unsure) result=unsure; test=$LEVEL_TEST; break ;;
                    error) result="env error"; test=$LEVEL_TEST; break ;;
                esac
            done
            [ "$result" = survived ] && level="" && test=$note
            restore_current
        else
            result="not applied"
        fi
    fi
    local secs=$((SECONDS - t0))
    echo "$result${level:+ [$level]}${test:+ $test} (${secs}s)"
    R_ID+=("$id"); R_RESULT+=("$result"); R_LEVEL+=("$level"); R_TEST+=("$test"); R_SECS+=("$secs")
}

cleanup() {
    restore_current
    [ -d "$src/tests/wine" ] && wine_stop
}
# ---- main -------------------------------------------------------------------------------
[ -f "$list" ] || { echo "no $list" >&2; exit 2; }
parse_list
sel=()
if [ ${#ids[@]} -eq 0 ]; then
    sel=("${!M_ID[@]}")
else
    for want in "${ids[@]}"; do
        found=""
        for i in "${!M_ID[@]}"; do [ "${M_ID[i]}" = "$want" ] && sel+=("$i") && found=1; done
        [ -n "$found" ] || { echo "no mutant $want in $list" >&2; exit 2; }
    done
fi

if [ $check -eq 1 ]; then
    bad=0
    for i in "${sel[@]}"; do
        f=$repo/${M_FILE[i]}
        if [ -f "$f" ] && [ -n "${M_REPL[i]}" ] && mutate "${M_ORIG[i]}" "${M_REPL[i]}" "$f" >/dev/null; then
            echo "${M_ID[i]} applies"
        else
            echo "${M_ID[i]} not applied (${M_FILE[i]})"; bad=1
        fi
    done
    exit $bad
fi

mkdir -p "$scratch"
exec 9>"$scratch/lock"
flock -n 9 || { echo "another run is using $scratch" >&2; exit 1; }
if [ $clean -eq 1 ]; then
    [ -x "$src/tests/wine/wine-env.sh" ] && wine_stop
    rm -rf "$scratch"; echo "removed $scratch"; exit 0
fi
trap cleanup EXIT
trap 'exit 130' INT TERM
echo "scratch copy: $src (display $QD_DISPLAY)"
sync_copy
rm -f "$logs"/*
if ! configure_all; then
    echo "configure failed, see $logs/configure-*.log" >&2; exit 1
fi

baseline_line="baseline: not run"
if [ $baseline -eq 1 ]; then
    printf '%-53s ' "baseline (unchanged code)"
    t0=$SECONDS
    b="pass"
    for level in native asan win64; do
        run_level baseline "$level"
        if [ "$LEVEL_RESULT" != pass ]; then b="$LEVEL_RESULT [$level] $LEVEL_TEST"; break; fi
        [ -n "$LEVEL_NOTE" ] && b="$b ($LEVEL_NOTE)"
    done
    echo "$b ($((SECONDS - t0))s)"
    baseline_line="baseline: $b"
    if [ "${b%% *}" != pass ]; then
        echo "the unchanged code does not pass; fix that first (logs in $logs)" >&2
        exit 1
    fi
fi

for i in "${sel[@]}"; do run_mutant "$i"; done

{
    tree=$(git -C "$repo" rev-parse --short HEAD)
    [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ] && tree="$tree with local changes"
    echo "Mutants run on $tree ($label), $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "$baseline_line"
    echo
    printf '%-4s  %-46s  %-12s  %-6s  %s\n' ID FILE RESULT LEVEL "FIRST FAILING TEST"
    caught=0
    for k in "${!R_ID[@]}"; do
        i=""
        for j in "${!M_ID[@]}"; do [ "${M_ID[j]}" = "${R_ID[k]}" ] && i=$j; done
        printf '%-4s  %-46s  %-12s  %-6s  %s\n' "${R_ID[k]}" "${M_FILE[i]}" "${R_RESULT[k]}" "${R_LEVEL[k]}" "${R_TEST[k]}"
        [ "${R_RESULT[k]}" = caught ] && caught=$((caught + 1))
    done
    echo
    echo "caught $caught of ${#R_ID[@]}"
    echo
    echo "What each mutant does (the lines are in tests/mutants/mutants.txt):"
    for k in "${!R_ID[@]}"; do
        for j in "${!M_ID[@]}"; do [ "${M_ID[j]}" = "${R_ID[k]}" ] && echo "${M_ID[j]}  ${M_NOTE[j]}"; done
    done
} >"$results"
echo
cat "$results"
echo "written to $results"
