#!/usr/bin/env bash
# The Windows saver end to end: builds the 64-bit saver, the test probe and the doubles of the
# movie control and the password checker, and runs them under Wine (tests/e2e), after checking
# that the 32-bit product builds as a GUI program that imports system libraries only (it is not
# run: this machine cannot run 32-bit programs).
# Usage: scripts/e2e.sh [-k WORD]   (JOBS=N sets the build parallelism)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}

scripts/install-deps.sh build windows e2e
scripts/build-libjpeg-turbo-mingw.sh x86_64-w64-mingw32
scripts/build-libjpeg-turbo-mingw.sh i686-w64-mingw32
scripts/build-png-mingw.sh x86_64-w64-mingw32
scripts/build-png-mingw.sh i686-w64-mingw32

cmake --preset linux >/dev/null
# The Linux runtime too: the two-monitor cases run it beside the Windows saver.
cmake --build --preset linux -j "$jobs" --target slidemake slidesaver
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target slidesaver e2e_probe movie_control password_cpl
cmake --preset win32 >/dev/null
# The 32-bit doubles are built to keep them building; only the 64-bit ones run here.
cmake --build --preset win32 -j "$jobs" --target slidesaver movie_control password_cpl

# The product: a PE32 GUI program whose imports are all libraries that every Windows has.
check_product() {
  local exe=$1 dump dll bad=0
  dump=$(i686-w64-mingw32-objdump -p "$exe")
  if ! grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$dump"; then
    echo "e2e: $exe is not a PE32 image" >&2
    bad=1
  fi
  if ! grep -Eq '^Subsystem[[:space:]]+00000002[[:space:]]+\(Windows GUI\)' <<<"$dump"; then
    echo "e2e: $exe is not a GUI-subsystem program" >&2
    bad=1
  fi
  while read -r dll; do
    case "${dll,,}" in
      kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | oleaut32.dll | \
        winmm.dll | comctl32.dll | comdlg32.dll | msvcrt.dll | shlwapi.dll | version.dll | imm32.dll | \
        uxtheme.dll | msimg32.dll | mpr.dll | api-ms-win-*.dll) ;;
      *)
        echo "e2e: $exe imports $dll, which is not a system library" >&2
        bad=1
        ;;
    esac
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
  [ "$bad" -eq 0 ] && echo "e2e: $exe is a PE32 GUI program importing system libraries only"
  return "$bad"
}
check_product build/win32/bin/slidesaver.scr

python3 tests/e2e/run_e2e.py --windows-bin build/win64/bin --slidemake build/linux/bin/slidemake \
  --linux-runtime build/linux/bin/slidesaver --out build/e2e "$@"
