#!/usr/bin/env bash
# Everything CI checks, in order, with the time each stage took:
#   1. the release build and its tests (the README's build);
#   2. the whole test suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (Clang; any report fails the test). The desktop tests run there too: Qt's own
#      libraries are not instrumented, only Pellmar's code. The walk-through's screenshot
#      tool is built here;
#   3. the build without Qt (the cli preset, unoptimised as cli-check): everything but the
#      desktop program builds, and nothing of the build needs Qt (the other stages run its
#      tests);
#   4. every fuzz target of the file readers, 5 s each, two at a time, after replaying every
#      input that once failed (scripts/fuzz.sh; the targets are built by stage 2; the long
#      runs are scripts/fuzz.sh 600). PELLMAR_FUZZ_SECONDS changes the time;
#   5. the Windows cross build; its tests and pellmar-cli.exe's golden runs under wine;
#   6. clang-tidy over the files of src/core, src/app and src/cli changed since the last full
#      run (scripts/tidy.sh --changed, with the compile database of stage 2; scripts/tidy.sh
#      checks every file and records the commit);
#   7. the Debian package, built from the release build, unpacked and tried.
# The release, cli-check and Windows builds are unity builds (CMake compiles the sources in
# batches), which nearly halves their time. The sanitizer build compiles every file alone, so a
# file that misses an include still fails there, and clang-tidy reads that build's commands.
# Every build treats compiler warnings as errors.
# Stops at the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."

start=$SECONDS
stage_start=$SECONDS
stage_name=""
timings=()
end_stage() {
  if [ -n "$stage_name" ]; then
    local took=$((SECONDS - stage_start))
    timings+=("$(printf '%-36s %4d s' "$stage_name" "$took")")
    echo "=== $stage_name: done in $took s"
  fi
}
stage() {
  end_stage
  stage_name="$1"
  stage_start=$SECONDS
  echo "=== $stage_name (at $((SECONDS - start)) s)"
}

stage "Release build and tests"
cmake --preset release
cmake --build --preset release
ctest --preset release

stage "Sanitizer build and tests"
cmake --preset asan
cmake --build --preset asan --target all pellmar-screenshots
ctest --preset asan

stage "Build without Qt and its tests"
cmake --preset cli-check
cmake --build --preset cli-check
ctest --preset cli-check

stage "Fuzz targets"
./scripts/fuzz.sh "${PELLMAR_FUZZ_SECONDS:-5}"

stage "Windows build and tests under wine"
cmake --preset windows
cmake --build --preset windows
ctest --preset windows

stage "clang-tidy"
./scripts/tidy.sh --changed build/asan

stage "Debian package"
ctest --preset package

end_stage
echo "=== Time of each stage:"
printf '  %s\n' "${timings[@]}"
printf '  %-36s %4d s\n' "Total" "$((SECONDS - start))"
echo "=== All passed in $((SECONDS - start)) s"
