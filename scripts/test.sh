#!/usr/bin/env bash
# Everything CI checks, in order:
#   1. the release build and its tests (the README's build);
#   2. the whole test suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (Clang; any report fails the test). The desktop tests run there too: Qt's own
#      libraries are not instrumented, only Pellmar's code;
#   3. every fuzz target of the file readers, about a minute each (scripts/fuzz.sh; the
#      targets are built by step 2). PELLMAR_FUZZ_SECONDS changes the time.
# Stops at the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

start=$SECONDS
step() { echo "=== $1 (at $((SECONDS - start)) s)"; }

step "Release build and tests"
cmake --preset release
cmake --build --preset release
ctest --preset release

step "Sanitizer build and tests"
cmake --preset asan
cmake --build --preset asan
ctest --preset asan

step "Fuzz targets"
./scripts/fuzz.sh "${PELLMAR_FUZZ_SECONDS:-60}"

step "All passed"
