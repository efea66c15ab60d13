#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build/fuzz, then runs each for a while with its committed corpus, fresh seeds and dictionary.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   run every (or each named) target SECONDS (default 60)
#   scripts/fuzz.sh --merge [TARGET...]     minimise what the runs found into fuzz/corpus/
#
# Targets are named without their fuzz_ prefix (jpeg, package, ...). New inputs go to
# build/fuzz/work/<target>/, findings to build/fuzz/artifacts/. FUZZ_CMAKE_ARGS adds configure
# options, JOBS sets the build's parallelism (default 2). A run prints each target's
# executions per second and total executions, and fails when a target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/fuzz
jobs=${JOBS:-2}

# The largest input each target is given: room for the structures it parses, no more.
declare -A max_len=(
  [property_stream]=65536 [package]=65536 [comma_text]=4096 [ini]=4096
  [bmp]=16384 [icon]=16384 [metafile]=1024 [jpeg]=32768
)

mode=run
seconds=60
if [[ ${1:-} == --merge ]]; then
  mode=merge
  shift
elif [[ ${1:-} =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
[[ ${#targets[@]} -eq 0 ]] && targets=(property_stream package comma_text ini bmp icon metafile jpeg)
for t in "${targets[@]}"; do
  [[ -n ${max_len[$t]:-} ]] || { echo "unknown fuzz target: $t" >&2; exit 2; }
done

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSLIDESAVER_FUZZ=ON -DSLIDESAVER_SANITIZE=ON -DSLIDESAVER_TESTS=OFF -DSLIDESAVER_BENCH=OFF \
  ${FUZZ_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" -j "$jobs" --target make_fuzz_seeds "${targets[@]/#/fuzz_}"

rm -rf "$build/seeds"
"$build/bin/make_fuzz_seeds" "$build/seeds" >/dev/null
mkdir -p "$build/artifacts"

if [[ $mode == merge ]]; then
  for t in "${targets[@]}"; do
    merged=$(mktemp -d)
    mkdir -p "fuzz/corpus/$t" "$build/work/$t"
    "$build/bin/fuzz_$t" -merge=1 -max_len="${max_len[$t]}" "$merged" \
      "fuzz/corpus/$t" "$build/work/$t" "$build/seeds/$t" 2>"$build/merge-$t.log"
    rm -rf "fuzz/corpus/$t"
    mv "$merged" "fuzz/corpus/$t"
    chmod 755 "fuzz/corpus/$t"
    echo "$t: $(ls "fuzz/corpus/$t" | wc -l) inputs, $(du -sk "fuzz/corpus/$t" | cut -f1) KiB"
  done
  exit 0
fi

failed=()
summary=()
for t in "${targets[@]}"; do
  mkdir -p "$build/work/$t" "fuzz/corpus/$t"
  log="$build/fuzz-$t.log"
  echo "== fuzz_$t for ${seconds}s"
  status=0
  "$build/bin/fuzz_$t" "$build/work/$t" "fuzz/corpus/$t" "$build/seeds/$t" \
    -dict="fuzz/dict/$t.dict" -max_len="${max_len[$t]}" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$t-" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  summary+=("$(printf '%-16s %10s exec/s %12s executions' "$t" "${rate:-?}" "${execs:-?}")")
  if [[ $status -ne 0 ]]; then
    failed+=("$t")
    tail -40 "$log"
  fi
done

echo
printf '%s\n' "${summary[@]}"
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "findings in: ${failed[*]} (inputs in $build/artifacts/, logs in $build/fuzz-<target>.log)"
  exit 1
fi
