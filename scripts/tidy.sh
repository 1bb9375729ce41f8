#!/usr/bin/env bash
# Runs clang-tidy with the checks of the root .clang-tidy over every source file of src/core,
# src/app and src/cli (and the headers of those folders they include), two files at a time.
# Fails on any finding. Needs a compile database: the sanitizer build writes one
# (cmake --preset asan), or give the build folder that holds compile_commands.json.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/asan}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy: no $build/compile_commands.json; configure that build first" >&2
  exit 2
fi
# The Windows source is compiled only by the cross build, whose database clang cannot read.
mapfile -t sources < <(find src/core src/app src/cli -name '*.cpp' ! -name '*_windows.cpp' | sort)
log="$build/clang-tidy.log"
if printf '%s\n' "${sources[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$log" 2>&1; then
  echo "tidy: ${#sources[@]} files, no finding"
else
  grep -E 'warning:|error:' "$log" | sort -u
  echo "tidy: findings above (the whole output is in $log)"
  exit 1
fi
