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

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

apt_install() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
}

# --- Source entries -------------------------------------------------------------------------
# apt-get source needs deb-src entries. We never name a mirror here: the entries are derived
# from the machine's own binary entries for this release, whatever mirror they point to.
codename=$( (. /etc/os-release && echo "${VERSION_CODENAME:-}") 2>/dev/null || true)
codename=${codename:-bookworm}
src_list=/etc/apt/sources.list.d/slidesaver-deb-src.sources

# True when a deb-src entry for this release is configured already.
has_deb_src() {
  grep -Eqs "^[[:space:]]*deb-src[[:space:]].*[[:space:]]$codename([[:space:]]|-)" \
    /etc/apt/sources.list /etc/apt/sources.list.d/*.list && return 0
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v release="$codename" '
      function flush() { if (src && wanted && !off) found = 1; src = 0; wanted = 0; off = 0 }
      /^[[:space:]]*$/ { flush(); next }
      /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb-src") src = 1 }
      /^Enabled:/ { if ($2 == "no") off = 1 }
      /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == release || index($i, release "-") == 1) wanted = 1 }
      END { flush(); exit found ? 0 : 1 }
    ' "$f" && return 0
  done
  return 1
}

# Prints deb822 stanzas of type deb-src for every enabled binary entry of this release.
derive_deb_src() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v release="$codename" '
      function flush() {
        if (is_deb && wanted && !off && stanza != "") printf "Types: deb-src\n%s\n", stanza
        stanza = ""; is_deb = 0; wanted = 0; off = 0
      }
      /^[[:space:]]*$/ { flush(); next }
      /^[[:space:]]*#/ { next }
      /^Types:/ { for (i = 2; i <= NF; i++) if ($i == "deb") is_deb = 1; next }
      /^Enabled:/ { if ($2 == "no") off = 1; next }
      /^Suites:/ {
        for (i = 2; i <= NF; i++) if ($i == release || index($i, release "-") == 1) wanted = 1
      }
      { stanza = stanza $0 "\n" }
      END { flush() }
    ' "$f"
  done
  # One-line entries: "deb [options] uri suite components...".
  local list
  for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    awk -v release="$codename" '
      $1 != "deb" { next }
      {
        i = 2
        opts = ""
        if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) { opts = opts " " $i; i++ } opts = opts " " $i; i++ }
        uri = $i; suite = $(i + 1)
        if (suite != release && index(suite, release "-") != 1) next
        comps = ""
        for (j = i + 2; j <= NF; j++) comps = comps " " $j
        signed = ""
        if (match(opts, /signed-by=[^] ]+/)) signed = substr(opts, RSTART + 10, RLENGTH - 10)
        printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:%s\n", uri, suite, comps
        if (signed != "") printf "Signed-By: %s\n", signed
        printf "\n"
      }
    ' "$list"
  done
}

ensure_deb_src() {
  has_deb_src && return 0
  local entries
  entries=$(derive_deb_src)
  if [ -z "$entries" ]; then
    echo "no Debian $codename entries found in the apt sources to derive deb-src from" >&2
    exit 1
  fi
  echo "Adding deb-src entries to $src_list"
  printf '%s\n' "$entries" | "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  "${sudo_cmd[@]}" apt-get update -qq
}

# --- Tools ----------------------------------------------------------------------------------
apt_install dpkg-dev nasm cmake ninja-build "g++-mingw-w64-${arch//_/-}"

# --- Source ---------------------------------------------------------------------------------
src_root="$root/build/deps/src"
mkdir -p "$src_root"
cd "$src_root"
if ! ls libjpeg-turbo_*.dsc >/dev/null 2>&1; then
  ensure_deb_src
  if ! apt-get source --download-only libjpeg-turbo; then
    "${sudo_cmd[@]}" apt-get update -qq
    apt-get source --download-only libjpeg-turbo
  fi
fi
dsc=$(ls libjpeg-turbo_*.dsc | sort -V | tail -n 1)
src_dir="$src_root/libjpeg-turbo"
if [ ! -f "$src_dir/CMakeLists.txt" ]; then
  rm -rf "$src_dir"
  dpkg-source -x "$dsc" "$src_dir"
fi

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
