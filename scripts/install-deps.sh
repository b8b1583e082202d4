#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, when missing.
set -euo pipefail
pkgs=(cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
      wine64 fonts-wine xvfb x11-utils x11-xserver-utils libx11-dev imagemagick fonts-liberation python3)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
