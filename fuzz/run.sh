#!/usr/bin/env bash
# Runs every fuzz target of a build tree for a bounded time, two at a time,
# starting from the seed corpus in fuzz/corpus. New inputs go to a scratch
# corpus in the build tree, never into the repository; a crash, a failed
# property or a hang leaves its input in BUILD_DIR/fuzz-artifacts.
# Usage: fuzz/run.sh BUILD_DIR [SECONDS] [TARGET...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-20}
shift $(( $# > 1 ? 2 : 1 ))
if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(find "$build/fuzz" -maxdepth 1 -type f -executable -name 'fuzz_*' -printf '%f\n' | sort)
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build/fuzz"; exit 1; }

jobs=$(nproc); [ "$jobs" -gt 2 ] && jobs=2
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

run_one() {
  local name=$1 scratch="$build/fuzz-corpus/$1" log="$build/fuzz-artifacts/$1.log"
  mkdir -p "$scratch"
  if ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
     "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
       -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$scratch" "$here/corpus/$name" >"$log" 2>&1; then
    echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs, no finding"
  else
    echo "$name: FINDING (see $log)"; grep -m5 -E "property failed|ERROR: |SUMMARY|Test unit written" "$log"; tail -n 25 "$log"; return 1
  fi
}

failed=0
pids=()
for name in "${targets[@]}"; do
  run_one "$name" & pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1; pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed
