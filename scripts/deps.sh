#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing VARN need, if missing.
set -euo pipefail
packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev libgl-dev xvfb xauth clang libclang-rt-dev fonts-dejavu-core
          nlohmann-json3-dev poppler-utils)
# The web page: emscripten builds its engine, Node and npm build the page, Chromium runs its
# browser tests. A Node from elsewhere may bring its own npm; Debian's is a package of its own.
packages+=(emscripten node-acorn nodejs chromium)
command -v npm >/dev/null || packages+=(npm)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
