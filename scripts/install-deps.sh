#!/usr/bin/env bash
# Installs the Debian packages a make target needs, only when one of them is missing.
# Usage: scripts/install-deps.sh build|display|windows|fuzz|soak|e2e|studio ...
set -euo pipefail

packages=()
for group in "$@"; do
  case "$group" in
    build) packages+=(cmake ninja-build g++ pkg-config libjpeg62-turbo-dev libpng-dev
                      libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcpp-httplib-dev
                      libvips-dev libheif-dev libwebp-dev libtiff-dev libgif-dev libcli11-dev
                      libsdl2-dev libsdl2-mixer-dev libfreetype-dev libfontconfig-dev libx11-dev libxinerama-dev python3
                      fonts-dejavu-core) ;;
    display) packages+=(xvfb xdotool) ;;
    windows) packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools nasm cmake ninja-build dpkg-dev
                        nlohmann-json3-dev) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;  # libclang-rt-14-dev holds libFuzzer
    soak) packages+=(valgrind) ;;
    studio) packages+=(chromium chromium-driver python3-selenium) ;;
    # Xorg's dummy driver and xrandr give the two-monitor cases real heads.
    e2e) packages+=(wine64 xvfb xdotool imagemagick python3 fonts-wine fonts-dejavu-core libasound2 locales
                    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils libxinerama1) ;;
    *) echo "unknown dependency group: $group" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
