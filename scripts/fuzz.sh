#!/usr/bin/env bash
# Runs every fuzz target (the file readers and the batch chart options) for a bounded time (default 60 s each, or the
# number of seconds given), as many at once as there are cores. Each starts from its seeds
# (the examples, the test files and the inputs that once failed) and from what earlier runs
# on this machine found. Fails when a target crashes, leaks, hangs, exceeds its memory or
# makes a sanitizer report; the input that did it is kept in build/asan/fuzz-artifacts/.
# Needs the sanitizer build, which holds the targets:
#   cmake --preset asan && cmake --build --preset asan
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/asan
targets=(fuzz_field_reader fuzz_study_file fuzz_sasd_file fuzz_samples_file fuzz_fecundity_file
  fuzz_treatment2_file fuzz_second_study fuzz_chart_options)

run_one() {
  local target="$1" seconds="$2" build="$3"
  local corpus="$build/fuzz-corpus/$target" artifacts="$build/fuzz-artifacts/$target"
  local log="$build/fuzz-logs/$target.log"
  mkdir -p "$corpus" "$artifacts" "$build/fuzz-logs"
  if "$build/fuzz/$target" "$corpus" "$build/fuzz/seeds/$target" \
      -dict="fuzz/$target.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1; then
    echo "$target: $(grep -o 'number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$') runs" \
      "in $seconds s, no fault"
  else
    echo "$target: FAILED; the end of its log ($log):"
    tail -n 60 "$log"
    return 1
  fi
}
export -f run_one

failed=0
printf '%s\n' "${targets[@]}" |
  xargs -P "$(nproc)" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build" || failed=1
if [ "$failed" -ne 0 ]; then
  echo "fuzz: a target failed; its input is in $build/fuzz-artifacts/"
  exit 1
fi
echo "fuzz: ${#targets[@]} passed, 0 failed"
