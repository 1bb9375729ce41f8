#!/usr/bin/env bash
# Runs every fuzz target of the file readers for a bounded time (default 60 s each, or the
# number of seconds given), as many at once as there are cores. Each starts from its seeds
# (the examples, the test files and the inputs that once failed) and from what earlier runs
# on this machine found. Fails when a target crashes, leaks, hangs, exceeds its memory or
# makes a sanitizer report; the input that did it is kept in build/fuzz/artifacts/.
# Needs the fuzz build: cmake --preset fuzz && cmake --build --preset fuzz
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/fuzz
targets=(fuzz_field_reader fuzz_study_file fuzz_sasd_file fuzz_samples_file fuzz_treatment2_file)
jobs="$(nproc)"

run_one() {
  local target="$1" seconds="$2" build="$3"
  local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  if "$build/fuzz/$target" "$corpus" "$build/fuzz/seeds/$target" \
      -dict="fuzz/$target.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 >"$build/$target.log" 2>&1; then
    echo "$target: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$build/$target.log" |
      grep -o '[0-9]*$') runs, no fault"
  else
    echo "$target: FAILED; the end of its log ($build/$target.log):"
    tail -n 60 "$build/$target.log"
    return 1
  fi
}
export -f run_one

printf '%s\n' "${targets[@]}" |
  xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build"
