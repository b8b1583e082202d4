#!/usr/bin/env bash
# Release artefacts: dist/ with the i686 and x86_64 programs (static,
# stripped), a SHA-256 checksum file and the README.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
bash scripts/install-deps.sh
jobs=$(nproc)
rm -rf dist && mkdir -p dist
for arch in i686 x86_64; do
    dir=build/dist-$arch
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake -DCMAKE_BUILD_TYPE=Release -DQD_BUILD_TESTS=OFF >/dev/null
    cmake --build "$dir" -j"$jobs" --target quorvel-dint >/dev/null
    "$arch-w64-mingw32-strip" -o "dist/quorvel-dint-$arch.exe" "$dir/bin/quorvel-dint.exe"
    # Static: the program needs nothing beyond the system's own DLLs.
    if "$arch-w64-mingw32-objdump" -p "dist/quorvel-dint-$arch.exe" | grep -iE 'DLL Name: (libgcc|libstdc|libwinpthread)'; then
        echo "dist: $arch build depends on a MinGW runtime DLL" >&2
        exit 1
    fi
done
cp README.md dist/
(cd dist && sha256sum quorvel-dint-*.exe README.md > SHA256SUMS)
ls -l dist
cat dist/SHA256SUMS
