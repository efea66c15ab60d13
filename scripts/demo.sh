#!/usr/bin/env bash
# make demo: builds a demo saver from generated sample media and shows what the project can show.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/linux/bin
demo=build/demo
mkdir -p "$demo"

"$bin/samplemedia" "$demo/media" >/dev/null

# The Linux runtime when it has been built; otherwise any file stands in for the runtime image.
runtime="$bin/slidesaver"
if [ ! -x "$runtime" ]; then
  runtime="$demo/runtime-stand-in.bin"
  head -c 65536 /dev/zero > "$runtime"
fi
"$bin/slidemake" build "$demo/media/demo.json" -o "$demo/demo-linux.saver" --runtime "$runtime"
echo
"$bin/slidemake" inspect "$demo/demo-linux.saver"

usage=$("$bin/slidemake" 2>&1 || true)
if grep -q "catalogue" <<<"$usage"; then
  echo
  "$bin/slidemake" catalogue -o "$demo/styles.png" --size 160x100
  "$bin/slidemake" transition --style 58 --old "$demo/media/sunrise.jpg" --new "$demo/media/waves.jpg" \
    --size 480x270 -o "$demo/transition-58.gif"
  echo "all 127 styles at 50%:  $demo/styles.png"
  echo "one transition:         $demo/transition-58.gif"
fi
if grep -q "record" <<<"$usage"; then
  echo
  "$bin/slidemake" record "$demo/demo-linux.saver" -o "$demo/show.gif" --seconds 12
  echo "the show, recorded:     $demo/show.gif"
fi
echo
echo "demo saver:             $demo/demo-linux.saver"
