#!/usr/bin/env bash
# Cross-builds libjpeg-turbo (static, with its SIMD code) for Windows from Debian's own source
# package and installs it into build/deps/<triple>, where the win32/win64 presets look for it.
# Usage: scripts/build-libjpeg-turbo-mingw.sh x86_64-w64-mingw32|i686-w64-mingw32
set -euo pipefail

triple=${1:?usage: $0 x86_64-w64-mingw32|i686-w64-mingw32}
case "$triple" in
  x86_64-w64-mingw32) arch=x86_64 ;;
  i686-w64-mingw32) arch=i686 ;;
  *) echo "unsupported target: $triple" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/deps/$triple"
if [ -f "$prefix/lib/libjpeg.a" ]; then
  exit 0
fi

# shellcheck source=scripts/mingw-source-package.sh
source "$root/scripts/mingw-source-package.sh"

# --- Tools ----------------------------------------------------------------------------------
apt_install dpkg-dev nasm cmake ninja-build "g++-mingw-w64-${arch//_/-}"

# --- Source ---------------------------------------------------------------------------------
src_dir=$(unpack_source_package libjpeg-turbo libjpeg-turbo CMakeLists.txt)

# --- Build ----------------------------------------------------------------------------------
build_dir="$root/build/deps/build-$triple"
rm -rf "$build_dir"
cmake -S "$src_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DCMAKE_INSTALL_LIBDIR="$prefix/lib" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
  -DWITH_TURBOJPEG=OFF \
  -DCMAKE_ASM_NASM_COMPILER="$(command -v nasm)"
cmake --build "$build_dir" -j 2
cmake --install "$build_dir"

test -f "$prefix/lib/libjpeg.a"
echo "libjpeg-turbo for $triple installed in $prefix"
