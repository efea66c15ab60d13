#!/usr/bin/env bash
# make demo: builds the demo saver from generated sample media for Linux and for Windows, then
# plays it in a window when there is a display, or records its first slides headless when there
# is none.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/linux/bin
demo=build/demo
win_runtime=build/win32/bin/slidesaver.scr
mkdir -p "$demo"

"$bin/samplemedia" "$demo/media" >/dev/null

# The Linux saver: the Linux runtime with the package appended, executable as it is.
"$bin/slidemake" build "$demo/media/demo.json" -o "$demo/demo-linux.saver" --runtime "$bin/slidesaver"
echo
"$bin/slidemake" inspect "$demo/demo-linux.saver"

# The Windows saver, the product: its runtime is cross-built the first time (a few minutes:
# libjpeg-turbo, zlib and libpng for mingw, then the win32 preset's runtime alone).
build_windows_runtime() {
  echo "Building the 32-bit Windows runtime for the Windows demo saver (first time only)..."
  scripts/install-deps.sh windows &&
    scripts/build-libjpeg-turbo-mingw.sh i686-w64-mingw32 >/dev/null &&
    scripts/build-png-mingw.sh i686-w64-mingw32 >/dev/null &&
    cmake --preset win32 >/dev/null &&
    cmake --build --preset win32 --target slidesaver >/dev/null
}
windows_note="not made: the Windows runtime did not build (try 'make windows')"
if [ -f "$win_runtime" ] || build_windows_runtime; then
  "$bin/slidemake" build "$demo/media/demo.json" -o "$demo/demo.scr" --target win32 --runtime "$win_runtime"
  windows_note="$demo/demo.scr"
fi

echo
"$bin/slidemake" catalogue -o "$demo/styles.png" --size 160x100 >/dev/null
"$bin/slidemake" transition --style 58 --old "$demo/media/sunrise.jpg" --new "$demo/media/waves.jpg" \
  --size 480x270 -o "$demo/transition-58.gif" >/dev/null

# A display is there when DISPLAY is set and its server answers (a local socket, or xdpyinfo).
display_reachable() {
  [ -n "${DISPLAY:-}" ] || return 1
  if command -v xdpyinfo >/dev/null; then
    xdpyinfo >/dev/null 2>&1
    return
  fi
  local number=${DISPLAY#*:}
  number=${number%%.*}
  [ "${DISPLAY%%:*}" != "" ] || [ -S "/tmp/.X11-unix/X$number" ]
}

if ! display_reachable; then
  "$bin/slidemake" record "$demo/demo-linux.saver" -o "$demo/show.gif" --seconds 12 >/dev/null
fi

echo "Linux saver:            $demo/demo-linux.saver   (try: $demo/demo-linux.saver --window 1280x720)"
echo "Windows saver:          $windows_note"
echo "all 127 styles at 50%:  $demo/styles.png"
echo "one transition:         $demo/transition-58.gif"
echo "sample media, manifest: $demo/media/"
if display_reachable; then
  echo
  echo "Playing the demo in a 1280x720 window on $DISPLAY; press a key to end it (moving the mouse over it ends it too)."
  exec "$demo/demo-linux.saver" --window 1280x720
else
  echo "the show, recorded:     $demo/show.gif   (no display: recorded headless)"
fi
