#!/usr/bin/env bash
# Regenerates the hostile-package corpus in tests/data/hostile/ (the saver files and index.tsv
# with each case's expected outcome) with the project's own writers. Commit the result.
#   scripts/make-hostile-corpus.sh [BUILD_DIR]    (default build/linux)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
[[ -f $build/build.ninja ]] || cmake --preset linux >/dev/null
cmake --build "$build" --target hostilecorpus -j "${JOBS:-2}"
"$build/bin/hostilecorpus" tests/data/hostile
