#!/usr/bin/env bash
# The studio in headless Chromium: builds slidemake and the Windows 64-bit runtime, fetches three
# real photos and runs tests/studio/browser_test.py. Screenshots go to build/studio/.
# Usage: scripts/studio-browser-test.sh   (JOBS=N sets the build parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh build windows studio
scripts/build-libjpeg-turbo-mingw.sh x86_64-w64-mingw32
scripts/build-png-mingw.sh x86_64-w64-mingw32
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs" --target slidemake
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target slidesaver

photos=$(scripts/fetch-studio-photos.sh)
# Debian's interpreter, which has Debian's Selenium.
/usr/bin/python3 tests/studio/browser_test.py --slidemake build/linux/bin/slidemake \
  --photos "$photos" --screenshots build/studio
