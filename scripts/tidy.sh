#!/usr/bin/env bash
# Runs clang-tidy with the checks of the root .clang-tidy over the sources of src/core, src/app
# and src/cli (and the headers of those folders they include), two files at a time. Fails on any
# finding. Needs a compile database: the sanitizer build writes one (cmake --preset asan), or
# give the build folder that holds compile_commands.json.
#
#   scripts/tidy.sh [BUILD]            every source file; when all pass, records the commit in
#                                      .ci/tidied-at (commit it, so that later runs can skip
#                                      what this one checked)
#   scripts/tidy.sh --changed [BUILD]  only the sources changed since the commit in
#                                      .ci/tidied-at, and those beside a changed header (every
#                                      file when that commit is not in this clone's history)
set -euo pipefail
cd "$(dirname "$0")/.."

changed_only=0
if [ "${1:-}" = "--changed" ]; then
  changed_only=1
  shift
fi
build="${1:-build/asan}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy: no $build/compile_commands.json; configure that build first" >&2
  exit 2
fi
# The Windows source is compiled only by the cross build, whose database clang cannot read.
mapfile -t all < <(find src/core src/app src/cli -name '*.cpp' ! -name '*_windows.cpp' | sort)
sources=("${all[@]}")
base=$(cat .ci/tidied-at 2>/dev/null || true)
if [ "$changed_only" -eq 1 ] && [ -n "$base" ] && git cat-file -e "$base^{commit}" 2>/dev/null; then
  mapfile -t touched < <({ git diff --name-only "$base" -- src/core src/app src/cli
                           git ls-files --others --exclude-standard -- src/core src/app src/cli; } |
                         sed -E 's/\.h$/.cpp/' | sort -u)
  sources=()
  for file in "${touched[@]}"; do
    case "$file" in *_windows.cpp) continue ;; *.cpp) ;; *) continue ;; esac
    [ -f "$file" ] && sources+=("$file")
  done
  echo "tidy: ${#sources[@]} of ${#all[@]} files changed since ${base:0:12}"
  if [ ${#sources[@]} -eq 0 ]; then
    exit 0
  fi
fi
log="$build/clang-tidy.log"
if printf '%s\n' "${sources[@]}" |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$log" 2>&1; then
  echo "tidy: ${#sources[@]} files, no finding"
  if [ "$changed_only" -eq 0 ] && git rev-parse --verify -q HEAD >/dev/null &&
      [ -z "$(git status --porcelain -- src/core src/app src/cli)" ]; then
    git rev-parse HEAD >.ci/tidied-at
  fi
else
  grep -E 'warning:|error:' "$log" | sort -u
  echo "tidy: findings above (the whole output is in $log)"
  exit 1
fi
