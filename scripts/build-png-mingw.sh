#!/usr/bin/env bash
# Cross-builds zlib and libpng (static) for Windows from Debian's own source packages and installs
# them into build/deps/<triple>, where the win32/win64 presets look for them.
# Usage: scripts/build-png-mingw.sh x86_64-w64-mingw32|i686-w64-mingw32
set -euo pipefail

triple=${1:?usage: $0 x86_64-w64-mingw32|i686-w64-mingw32}
case "$triple" in
  x86_64-w64-mingw32) arch=x86_64 ;;
  i686-w64-mingw32) arch=i686 ;;
  *) echo "unsupported target: $triple" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/deps/$triple"
if [ -f "$prefix/lib/libz.a" ] && [ -f "$prefix/lib/libpng16.a" ]; then
  exit 0
fi

# shellcheck source=scripts/mingw-source-package.sh
source "$root/scripts/mingw-source-package.sh"

apt_install dpkg-dev cmake ninja-build "g++-mingw-w64-${arch//_/-}"

# --- zlib: Debian's source leaves out the Windows makefiles, and the library is a handful of
# C files, so they are compiled directly -----------------------------------------------------
zlib_src=$(unpack_source_package zlib zlib zlib.h)
zlib_build="$root/build/deps/build-zlib-$triple"
rm -rf "$zlib_build"
mkdir -p "$zlib_build" "$prefix/lib" "$prefix/include"
objects=()
for name in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
  inftrees trees uncompr zutil; do
  "$triple-gcc" -O2 -c "$zlib_src/$name.c" -I "$zlib_src" -o "$zlib_build/$name.o"
  objects+=("$zlib_build/$name.o")
done
rm -f "$zlib_build/libz.a"
"$triple-ar" rcs "$zlib_build/libz.a" "${objects[@]}"
cp "$zlib_build/libz.a" "$prefix/lib/"
cp "$zlib_src/zlib.h" "$zlib_src/zconf.h" "$prefix/include/"

# --- libpng ----------------------------------------------------------------------------------
png_src=$(unpack_source_package libpng1.6 libpng CMakeLists.txt)
png_build="$root/build/deps/build-libpng-$triple"
rm -rf "$png_build"
cmake -S "$png_src" -B "$png_build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-w64-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DZLIB_ROOT="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
cmake --build "$png_build" -j 2
cmake --install "$png_build"

test -f "$prefix/lib/libz.a" && test -f "$prefix/lib/libpng16.a"
echo "zlib and libpng for $triple installed in $prefix"
