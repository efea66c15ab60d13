#!/usr/bin/env bash
# Fetches real photographs for the ingestion benchmark: the Debian package of desktop
# wallpapers, unpacked under build/bench-photos/. The benchmark scales them to 12 MP itself.
# Usage: scripts/fetch-bench-photos.sh
set -euo pipefail

cd "$(dirname "$0")/.."
dir=build/bench-photos
package=plasma-workspace-wallpapers
mkdir -p "$dir"
if [ ! -d "$dir/unpacked" ]; then
  (cd "$dir" && apt-get download "$package")
  dpkg-deb -x "$dir"/${package}_*.deb "$dir/unpacked.partial"
  mv "$dir/unpacked.partial" "$dir/unpacked"
  rm -f "$dir"/${package}_*.deb
fi
echo "$(find "$dir/unpacked" -name '*.jpg' | wc -l) photos in $dir/unpacked"
