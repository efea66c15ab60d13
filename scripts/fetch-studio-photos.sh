#!/usr/bin/env bash
# Three real photos for the studio's browser test, taken from Debian's wallpaper package and
# cached under build/studio-photos (fetched once).
# Usage: scripts/fetch-studio-photos.sh  (prints the folder that holds them)
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/studio-photos
if [ "$(ls "$out"/*.jpg 2>/dev/null | wc -l)" -ge 3 ]; then echo "$out"; exit 0; fi

work=build/studio-photos.download
rm -rf "$work" && mkdir -p "$work" "$out"
chmod 777 "$work"  # apt-get hands the download to its own unprivileged user
(cd "$work" && apt-get download -qq plasma-workspace-wallpapers >/dev/null)
dpkg-deb -x "$work"/plasma-workspace-wallpapers_*.deb "$work/root"
# One photo of each of three wallpapers, at a common screen size.
count=0
while IFS= read -r photo; do
  name=$(echo "$photo" | sed -E 's#.*/wallpapers/([^/]+)/.*#\1#')
  cp "$photo" "$out/$name.jpg"
  count=$((count + 1))
  [ "$count" -eq 3 ] && break
done < <(find "$work/root/usr/share/wallpapers" -path '*contents/images/1920x1080.jpg' | sort)
rm -rf "$work"
[ "$count" -eq 3 ] || { echo "fewer than three photos in the wallpaper package" >&2; exit 1; }
echo "$out"
