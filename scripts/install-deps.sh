#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

packages=(
    cmake g++ make libgtest-dev googletest libbenchmark-dev
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine wine64 fonts-wine xvfb x11-utils x11-xserver-utils imagemagick xdotool nsis fp-utils-3.2.2
    # The winget and Scoop manifests are written and checked by scripts of the packaging.
    python3
    clang libclang-rt-14-dev
    # The bundled image decoders: built from Debian's sources for Windows (scripts/decoders.sh),
    # Debian's own for the native build, and Debian's encoders for the test pictures.
    dpkg-dev debian-archive-keyring nasm meson ninja-build pkg-config
    libjpeg62-turbo-dev libwebp-dev libheif-dev libjxl-dev
    webp libheif-examples libjxl-tools libjpeg-turbo-progs
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
