#!/usr/bin/env bash
# Builds every configuration: native (core + tests), native with ASan/UBSan,
# Windows x86_64 (program, Win32 tests, end-to-end driver) and Windows i686.
#   build.sh [all|win64|program]   (program: only the x86_64 .exe)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
jobs=$(nproc)
what=${1:-all}

target_args=()
configure_build() {  # dir, extra cmake args...
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" "${target_args[@]}" 2>&1 | grep -E 'warning|error|Error' || true
    # A failed build must fail the script, not just print.
    cmake --build "$dir" -j"$jobs" "${target_args[@]}" >/dev/null
}

[ "$what" = program ] && target_args=(--target quorvel-dint)

configure_build build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
[ "$what" = win64 ] || [ "$what" = program ] && exit 0
configure_build build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DQD_BUILD_TESTS=OFF
configure_build build/native
configure_build build/asan -DQD_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
